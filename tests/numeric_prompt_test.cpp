#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

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
