#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct Read {
    int result = 0; // what the filter returned
    std::string text;
    std::string unread;
};

Read filtered(std::string_view input, bool includeSpaces)
{
    Read read;
    read.unread = runOnConsole(input, [&] { read.result = clearLeadingCharacters(includeSpaces); }).unread;
    return read;
}

// Reads into exactly the TEXT_BUFFER_SIZE characters a line may fill, on the heap so that
// the sanitizer sees a write past them. Junk before the read shows whether
// the text is terminated.
Read line(std::string_view input, bool viaClearLeading)
{
    const std::unique_ptr<char[]> buffer(new char[TEXT_BUFFER_SIZE]);
    std::fill_n(buffer.get(), TEXT_BUFFER_SIZE, 'Z');
    Read read;
    read.unread = runOnConsole(input, [&] { getInputString(buffer.get(), viaClearLeading); }).unread;
    read.text = std::string(buffer.get(), strnlen(buffer.get(), TEXT_BUFFER_SIZE));
    return read;
}

TEST(ClearLeadingCharacters, SpacesArePassedOverOnlyWhenAsked)
{
    const Read kept = filtered("  x", true);
    EXPECT_EQ(kept.result, ' ');
    EXPECT_EQ(kept.unread, " x");
    const Read skipped = filtered("  x", false);
    EXPECT_EQ(skipped.result, 'x');
    EXPECT_EQ(skipped.unread, "");
    EXPECT_EQ(filtered(std::string(3, '\0') + "q", true).result, 'q');
}

TEST(ClearLeadingCharacters, PassesOverControlCharactersButNotDelOrHighBytes)
{
    EXPECT_EQ(filtered("\x01\x1f\r\t\n\x7f", false).result, 0x7f);
    EXPECT_EQ(filtered("\t\x80", false).result, 0x80);
    // Byte 255 is a character, not the end of input.
    const Read top = filtered(std::string("\0\377a", 3), false);
    EXPECT_EQ(top.result, 0xff);
    EXPECT_EQ(top.unread, "a");
}

// At most MAX_SKIPPED_CHARACTERS are passed over; the next one is returned as
// it is.
TEST(ClearLeadingCharacters, StopsAtTheSkipLimit)
{
    constexpr size_t limit = MAX_SKIPPED_CHARACTERS;
    const Read atLimit = filtered(std::string(limit, '\n') + "x!", false);
    EXPECT_EQ(atLimit.result, 'x');
    EXPECT_EQ(atLimit.unread, "!");
    const Read pastLimit = filtered(std::string(limit + 1, ' ') + "x", false);
    EXPECT_EQ(pastLimit.result, ' ');
    EXPECT_EQ(pastLimit.unread, "x");

    char newline = 0;
    const ConsoleRun run = runOnConsole(std::string(200, '\n') + "x", [&] { newline = getChar(); });
    EXPECT_EQ(newline, '\n');
    EXPECT_EQ(run.unread, std::string(200 - limit - 1, '\n') + "x");
}

TEST(FilteredReads, EndOfInput)
{
    EXPECT_EQ(filtered("", true).result, EOF);
    char withSpaces = 0;
    char plain = 0;
    char prompted = 0;
    runOnConsole(" \n\t", [&] { withSpaces = getCharFiltered(true); });
    runOnConsole("   \n\n", [&] { plain = getChar(); });
    const ConsoleRun run = runOnConsole("", [&] { prompted = promptForCharacter("? "); });
    EXPECT_EQ(withSpaces, ' '); // the space comes before the end
    EXPECT_EQ(plain, '0');
    EXPECT_EQ(prompted, '0');
    EXPECT_EQ(run.output, "? ");
}

TEST(FilteredReads, CharacterAfterBlankLinesLeavesTheRestOfItsLine)
{
    char first = 0;
    EXPECT_EQ(runOnConsole("\n\n   \tx\n", [&] { first = getChar(); }).unread, "\n");
    EXPECT_EQ(first, 'x');

    char answer = 0;
    const ConsoleRun run = runOnConsole("yes\n", [&] { answer = promptForCharacter("Go on (%s)? "); });
    EXPECT_EQ(answer, 'y');
    EXPECT_EQ(run.output, "Go on (%s)? ");
    EXPECT_EQ(run.unread, "es\n");
}

TEST(InputString, KeepsInnerAndTrailingBlanksAndDropsTheNewline)
{
    const std::unique_ptr<char[]> buffer(new char[TEXT_BUFFER_SIZE]);
    const ConsoleRun run
        = runOnConsole("  hello world  \nnext\n", [&] { promptForString("Name: ", buffer.get()); });
    EXPECT_STREQ(buffer.get(), "hello world  ");
    EXPECT_EQ(run.output, "Name: ");
    EXPECT_EQ(run.unread, "next\n");

    EXPECT_EQ(line("\t\tname\n", true).text, "name");
    EXPECT_EQ(line("a\tb\r\n", false).text, "a\tb\r");
    // A first byte 0xFF is a character, not the end of input.
    EXPECT_EQ(line(" \xff\x80z\n", false).text, "\xff\x80z");
}

TEST(InputString, BlankLinesBeforeTheTextArePassedOver)
{
    const Read read = line("     \n\n  \t \nreal text\n", false);
    EXPECT_EQ(read.text, "real text");
    EXPECT_EQ(read.unread, "");
}

TEST(InputString, StoresUpToTheTextLimitAndDropsTheNextCharacter)
{
    const std::string full(MAX_TEXT_LENGTH, 'a');
    const Read exact = line(full + "\nb", true);
    EXPECT_EQ(exact.text, full);
    EXPECT_EQ(exact.unread, "b");
    const Read oneOver = line(full + "c\n", false);
    EXPECT_EQ(oneOver.text, full);
    EXPECT_EQ(oneOver.unread, "\n");
    const Read longLine = line(std::string(200, 'a') + "\n", false);
    EXPECT_EQ(longLine.text, full);
    EXPECT_EQ(longLine.unread, std::string(200 - MAX_TEXT_LENGTH - 1, 'a') + "\n");
}

// The end of input ends the text; no byte 0xFF is stored.
TEST(InputString, EndOfInputEndsTheText)
{
    EXPECT_EQ(line("  abc", true).text, "abc");
    EXPECT_EQ(line("\n\n", true).text, "");
    // getChar gives '0' at the end, and that character starts the text; so
    // does it for promptForString, after nothing or only blank lines.
    EXPECT_EQ(line("", false).text, "0");
    for (const char* input : { "", "\n\n \t\n" }) {
        char text[TEXT_BUFFER_SIZE] = "junk";
        runOnConsole(input, [&] { promptForString("? ", text); });
        EXPECT_STREQ(text, "0") << '"' << input << '"';
    }
}

// The filter passes over as many newlines as it may, so the next one starts
// the text: the line it ends is empty, and the buffer must still hold a
// terminated text.
TEST(InputString, NewlineAfterTheSkipLimitGivesAnEmptyText)
{
    const Read read = line(std::string(MAX_SKIPPED_CHARACTERS + 1, '\n') + "x\n", true);
    EXPECT_EQ(read.text, "");
    EXPECT_EQ(read.unread, "x\n");
}

// Each prompt must show before its read waits; stdout on a file is fully
// buffered, so only a flush puts the prompt there this early.
TEST(Prompts, EachPromptReachesTheOutputBeforeItsRead)
{
    std::string seen[4]; // what the output file held after each prompt
    {
        const Redirect console("y\nname\n1.5\n12\n");
        promptForCharacter("c? ");
        seen[0] = console.written();
        char text[TEXT_BUFFER_SIZE];
        promptForString("s? ", text);
        seen[1] = console.written();
        promptForDouble("d? ");
        seen[2] = console.written();
        promptForInteger("i? ");
        seen[3] = console.written();
    } // checked once the output is ours again, so that a failure's message shows
    EXPECT_EQ(seen[0], "c? ");
    EXPECT_EQ(seen[1], "c? s? ");
    EXPECT_EQ(seen[2], "c? s? d? ");
    EXPECT_EQ(seen[3], "c? s? d? i? ");
}

} // namespace
