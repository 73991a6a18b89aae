#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

struct Answers {
    std::vector<double> values; // the integers too, which doubles hold exactly
    ConsoleRun run;
};

// Answers a row of numeric prompts from `input`: each 'd' of `kinds` asks
// promptForDouble with the prompt "d ", each 'i' promptForInteger with "i ".
Answers ask(std::string_view input, std::string_view kinds)
{
    Answers answers;
    answers.run = runOnConsole(input, [&] {
        for (const char kind : kinds) {
            answers.values.push_back(kind == 'd' ? promptForDouble("d ") : promptForInteger("i "));
        }
    });
    return answers;
}

TEST(PromptForDouble, WritesPromptLiterallyAndReadsOneNumber)
{
    double value = -1;
    const ConsoleRun run = runOnConsole("  1000\nrest", [&] { value = promptForDouble("Rate (%d%%): "); });
    EXPECT_EQ(value, 1000.0);
    EXPECT_EQ(run.output, "Rate (%d%%): ");
    EXPECT_EQ(run.unread, "\nrest");
}

TEST(PromptForDouble, AcceptsExponentsSignsAndLeadingBlankLines)
{
    const Answers answers = ask("1e3\n-2.5\n\n\n \t 7\n", "ddd");
    EXPECT_EQ(answers.values, (std::vector { 1000.0, -2.5, 7.0 }));
    EXPECT_EQ(answers.run.output, "d d d ");
    EXPECT_EQ(answers.run.unread, "\n");
}

TEST(PromptForDouble, ReadsInfinityNanAndOutOfRange)
{
    const Answers answers = ask("inf nan 1e999\n", "ddd");
    EXPECT_TRUE(std::isinf(answers.values[0]));
    EXPECT_TRUE(std::isnan(answers.values[1]));
    EXPECT_TRUE(std::isinf(answers.values[2]));
}

TEST(PromptForInteger, StopsAtTheFirstCharacterThatIsNotADigit)
{
    const Answers answers = ask("12.5\n", "id");
    EXPECT_EQ(answers.values, (std::vector { 12.0, 0.5 })); // the ".5" left behind answers at once
    EXPECT_EQ(answers.run.output, "i d ");
    EXPECT_EQ(answers.run.unread, "\n");
}

TEST(PromptForInteger, SaturatesOutOfRangeNumbers)
{
    const Answers answers = ask("2147483648 -99999999999999999999999 +3000000000x", "iii");
    EXPECT_EQ(answers.values, (std::vector<double> { INT_MAX, INT_MIN, INT_MAX }));
    EXPECT_EQ(answers.run.unread, "x");
}

TEST(NumericPrompts, SeveralNumbersOnOneLineAnswerInTurn)
{
    const Answers answers = ask("1000 1 12\n", "ddi");
    EXPECT_EQ(answers.values, (std::vector { 1000.0, 1.0, 12.0 }));
    EXPECT_EQ(answers.run.output, "d d i ");
    EXPECT_EQ(answers.run.unread, "\n");
}

// Text that does not convert gives 0 and stays put, so later prompts fail on
// it at once instead of waiting.
TEST(NumericPrompts, FailedConversionGivesZeroAndLeavesTheText)
{
    const Answers answers = ask("5%\n9\n", "ddi");
    EXPECT_EQ(answers.values, (std::vector { 5.0, 0.0, 0.0 }));
    EXPECT_EQ(answers.run.output, "d d i ");
    EXPECT_EQ(answers.run.unread, "%\n9\n");

    const std::string nul = std::string(2, '\0') + "5\n";
    const Answers nulAnswers = ask(nul, "d");
    EXPECT_EQ(nulAnswers.values, std::vector { 0.0 });
    EXPECT_EQ(nulAnswers.run.unread, nul);

    // Only ' ' and \t to \r are passed over: their neighbours stop both.
    for (const std::string text : { "\b5\n", "\x0e-5\n", "\x1f-5\n", "!5\n" }) {
        const Answers stopped = ask(text, "di");
        EXPECT_EQ(stopped.values, (std::vector { 0.0, 0.0 })) << text;
        EXPECT_EQ(stopped.run.unread, text);
    }
}

TEST(NumericPrompts, EndOfInputGivesZero)
{
    const Answers answers = ask("  \n\n", "di");
    EXPECT_EQ(answers.values, (std::vector { 0.0, 0.0 }));
    EXPECT_EQ(answers.run.output, "d i ");
    EXPECT_EQ(answers.run.unread, "");
}

} // namespace

namespace {

struct Checked {
    bool read = false;
    double value = -7; // -7 stands for a value left alone
    std::string failedText;
    ConsoleRun run;
};

// One checked prompt on `input`: promptForDoubleChecked when `kind` is 'd',
// else promptForIntegerChecked; `withText` passes a buffer for the failed text.
Checked askChecked(std::string_view input, char kind, bool withText = true)
{
    Checked checked;
    // Exactly the size the prompt may fill, on the heap so the sanitizer sees
    // a write past it; junk shows whether the text was written at all.
    const std::unique_ptr<char[]> text(new char[TEXT_BUFFER_SIZE]);
    std::fill_n(text.get(), TEXT_BUFFER_SIZE, 'Z');
    char* failedText = withText ? text.get() : nullptr;
    checked.run = runOnConsole(input, [&] {
        int integer = -7;
        checked.read = kind == 'd' ? promptForDoubleChecked("? ", checked.value, failedText)
                                   : promptForIntegerChecked("? ", integer, failedText);
        checked.value = kind == 'd' ? checked.value : integer;
    });
    checked.failedText = std::string(text.get(), strnlen(text.get(), TEXT_BUFFER_SIZE));
    return checked;
}

TEST(CheckedPrompts, ReadANumberAsThePlainOnesDoAndLeaveTheTextAlone)
{
    const Checked amount = askChecked(" \n 1e3x\n", 'd');
    EXPECT_TRUE(amount.read);
    EXPECT_EQ(amount.value, 1000.0);
    EXPECT_EQ(amount.failedText, std::string(TEXT_BUFFER_SIZE, 'Z'));
    EXPECT_EQ(amount.run.output, "? ");
    EXPECT_EQ(amount.run.unread, "x\n");

    const Checked months = askChecked("-0012.5\n", 'i');
    EXPECT_TRUE(months.read);
    EXPECT_EQ(months.value, -12);
    EXPECT_EQ(months.run.unread, ".5\n");
}

// A failed read leaves the value alone; with a buffer, it takes the text that
// failed (the start of a number included) and the rest of its line.
TEST(CheckedPrompts, FailureGivesTheTextThatFailedAndItsLine)
{
    struct Failure {
        const char* input;
        char kind;
        const char* failedText;
        const char* unread;
    };
    for (const Failure& failure : {
             Failure { "abc def\nnext", 'd', "abc def", "next" },
             Failure { " \t1e+ x\n7\n", 'd', "1e+ x", "7\n" }, Failure { "0x", 'd', "0x", "" },
             Failure { "-\r\n", 'i', "-\r", "" }, Failure { "%\n\n", 'i', "%", "\n" },
             Failure { "\n \n", 'd', "", "" }, // the end of input
         }) {
        const std::string_view input = failure.input;
        const Checked checked = askChecked(input, failure.kind);
        EXPECT_FALSE(checked.read) << input;
        EXPECT_EQ(checked.value, -7) << input;
        EXPECT_EQ(checked.failedText, failure.failedText) << input;
        EXPECT_EQ(checked.run.unread, failure.unread) << input;
    }

    // Of a long line, the first MAX_TEXT_LENGTH characters are kept, and the
    // whole line goes.
    const Checked longLine = askChecked(std::string(300, 'x') + "\n5", 'd');
    EXPECT_EQ(longLine.failedText, std::string(MAX_TEXT_LENGTH, 'x'));
    EXPECT_EQ(longLine.run.unread, "5");
    const Checked longNumber = askChecked(std::string(200, '9') + "e!\n5", 'd');
    EXPECT_EQ(longNumber.failedText, std::string(MAX_TEXT_LENGTH, '9'));
    EXPECT_EQ(longNumber.run.unread, "5");
}

// Without a buffer nothing more is consumed: the text that is not a number
// stays in the input, as with the plain prompts.
TEST(CheckedPrompts, FailureWithoutBufferLeavesTheText)
{
    const Checked letters = askChecked("abc\n", 'd', false);
    EXPECT_FALSE(letters.read);
    EXPECT_EQ(letters.value, -7);
    EXPECT_EQ(letters.run.unread, "abc\n");
    EXPECT_EQ(askChecked("1e+x\n", 'd', false).run.unread, "x\n"); // the start of a number goes
}

#ifndef _WIN32 // Windows reads its null device as empty even when open for writing only
// A read error makes a number that was read not a number read whole: here
// the error indicator comes from a read of a descriptor open for writing
// only, put in standard input's place for that read.
TEST(CheckedPrompts, ErrorIndicatorOnTheInputFailsTheRead)
{
    bool read = true;
    int value = -7;
    runOnConsole("12\n", [&] {
        const int input = dup(fileno(stdin));
        const TemporaryFile writeOnly(std::fopen("/dev/null", "w"));
        dup2(fileno(writeOnly.get()), fileno(stdin));
        EXPECT_EQ(std::getchar(), EOF);
        dup2(input, fileno(stdin));
        close(input);
        read = promptForIntegerChecked("? ", value);
    });
    EXPECT_FALSE(read);
    EXPECT_EQ(value, -7);
}
#endif

TEST(ClearRestOfLine, DiscardsTheLineAndSaysWhetherTheInputEnded)
{
    int result = 0;
    EXPECT_EQ(runOnConsole("rest \x01 of it\nnext\n", [&] { result = clearRestOfLine(); }).unread, "next\n");
    EXPECT_EQ(result, '\n');
    EXPECT_EQ(runOnConsole("no newline", [&] { result = clearRestOfLine(); }).unread, "");
    EXPECT_EQ(result, EOF);
}

// A caller's loop: ask again on a bad answer, stop at the end of input, told
// by the stream or by clearRestOfLine. Gives up after 100 questions, so that
// a loop that never ends fails instead of hanging.
bool askMonths(int& months, bool withText)
{
    char failedText[TEXT_BUFFER_SIZE];
    for (int asked = 0; asked < 100; ++asked) {
        if (withText ? promptForIntegerChecked("n? ", months, failedText)
                     : promptForIntegerChecked("n? ", months)) {
            return true;
        }
        if (withText ? std::feof(stdin) != 0 || std::ferror(stdin) != 0 : clearRestOfLine() == EOF) {
            return false;
        }
    }
    return false;
}

TEST(CheckedPrompts, CallerLoopAsksAgainAndStopsAtTheEndOfInput)
{
    for (const bool withText : { true, false }) {
        for (const auto& [input, asked] :
            { std::pair { "abc\n-\n\n+\n", 4U }, std::pair { "x y z", 1U }, std::pair { "", 1U } }) {
            int months = -7;
            bool got = true;
            const ConsoleRun run = runOnConsole(input, [&] { got = askMonths(months, withText); });
            EXPECT_FALSE(got) << input;
            EXPECT_EQ(months, -7) << input;
            EXPECT_EQ(run.output.size(), 3U * asked) << input << " asked " << run.output;
        }
        int months = 0;
        const ConsoleRun run = runOnConsole("twelve\n-\n12\n", [&] { askMonths(months, withText); });
        EXPECT_EQ(months, 12);
        EXPECT_EQ(run.output, "n? n? n? ");
    }
}

} // namespace
