#include "Console_IO_Utility.h"
#include "console_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// Exactly the 129 characters a text read may fill, on the heap so that the
// sanitizer sees a write past them. Filled with junk to show the terminator.
struct TextBuffer {
    std::unique_ptr<char[]> data { new char[129] };
    TextBuffer()
    {
        std::fill_n(data.get(), 129, 'Z');
    }
    std::string text() const
    {
        return data.get();
    }
};

TEST(ClearLeadingCharacters, SpacesArePassedOverOnlyWhenAsked)
{
    int kept = 0;
    int skipped = 0;
    EXPECT_EQ(runOnConsole("  x", [&] { kept = clearLeadingCharacters(true); }).unread, " x");
    EXPECT_EQ(runOnConsole("  x", [&] { skipped = clearLeadingCharacters(false); }).unread, "");
    EXPECT_EQ(kept, ' ');
    EXPECT_EQ(skipped, 'x');
}

TEST(ClearLeadingCharacters, PassesOverControlCharactersButNotDelOrHighBytes)
{
    int del = 0;
    int high = 0;
    int top = 0;
    int nul = 0;
    runOnConsole(std::string("\x01\x1f\r\t\n\x7f", 6), [&] { del = clearLeadingCharacters(false); });
    runOnConsole("\t\x80", [&] { high = clearLeadingCharacters(false); });
    // Byte 255 is a character, not the end of input.
    const ConsoleRun run
        = runOnConsole(std::string("\0\377a", 3), [&] { top = clearLeadingCharacters(false); });
    runOnConsole(std::string(3, '\0') + "q", [&] { nul = clearLeadingCharacters(true); });
    EXPECT_EQ(del, 0x7f);
    EXPECT_EQ(high, 0x80);
    EXPECT_EQ(top, 0xff);
    EXPECT_EQ(run.unread, "a");
    EXPECT_EQ(nul, 'q');
}

// At most 128 characters are passed over; the 129th is returned as it is.
TEST(ClearLeadingCharacters, StopsAfter128SkippedCharacters)
{
    int atLimit = 0;
    int pastLimit = 0;
    EXPECT_EQ(
        runOnConsole(std::string(128, '\n') + "x!", [&] { atLimit = clearLeadingCharacters(false); }).unread,
        "!");
    EXPECT_EQ(atLimit, 'x');
    EXPECT_EQ(
        runOnConsole(std::string(129, ' ') + "x", [&] { pastLimit = clearLeadingCharacters(false); }).unread,
        "x");
    EXPECT_EQ(pastLimit, ' ');

    char newline = 0;
    const ConsoleRun run = runOnConsole(std::string(200, '\n') + "x", [&] { newline = getChar(); });
    EXPECT_EQ(newline, '\n');
    EXPECT_EQ(run.unread, std::string(71, '\n') + "x");
}

TEST(FilteredReads, EndOfInput)
{
    int filtered = 0;
    char withSpaces = 0;
    char plain = 0;
    char prompted = 0;
    runOnConsole("", [&] { filtered = clearLeadingCharacters(true); });
    runOnConsole(" \n\t", [&] { withSpaces = getCharFiltered(true); });
    runOnConsole("   \n\n", [&] { plain = getChar(); });
    const ConsoleRun run = runOnConsole("", [&] { prompted = promptForCharacter("? "); });
    EXPECT_EQ(filtered, EOF);
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
    TextBuffer line;
    const ConsoleRun run
        = runOnConsole("  hello world  \nnext\n", [&] { promptForString("Name: ", line.data.get()); });
    EXPECT_EQ(line.text(), "hello world  ");
    EXPECT_EQ(run.output, "Name: ");
    EXPECT_EQ(run.unread, "next\n");

    TextBuffer tabs;
    runOnConsole("\t\tname\n", [&] { getInputString(tabs.data.get(), true); });
    EXPECT_EQ(tabs.text(), "name");

    TextBuffer control;
    runOnConsole("a\tb\r\n", [&] { getInputString(control.data.get(), false); });
    EXPECT_EQ(control.text(), "a\tb\r");

    TextBuffer high; // a first byte 0xFF is a character, not the end of input
    runOnConsole(" \xff\x80z\n", [&] { getInputString(high.data.get(), false); });
    EXPECT_EQ(high.text(), "\xff\x80z");
}

TEST(InputString, BlankLinesBeforeTheTextArePassedOver)
{
    TextBuffer line;
    const ConsoleRun run
        = runOnConsole("     \n\n  \t \nreal text\n", [&] { getInputString(line.data.get(), false); });
    EXPECT_EQ(line.text(), "real text");
    EXPECT_EQ(run.unread, "");
}

TEST(InputString, StoresAt128CharactersAndDropsThe129th)
{
    TextBuffer exact;
    EXPECT_EQ(
        runOnConsole(std::string(128, 'a') + "\nb", [&] { getInputString(exact.data.get(), true); }).unread,
        "b");
    EXPECT_EQ(exact.text(), std::string(128, 'a'));

    TextBuffer oneOver;
    EXPECT_EQ(runOnConsole(std::string(128, 'a') + "c\n", [&] { getInputString(oneOver.data.get(), false); })
                  .unread,
        "\n");
    EXPECT_EQ(oneOver.text(), std::string(128, 'a'));

    TextBuffer long_;
    EXPECT_EQ(
        runOnConsole(std::string(200, 'a') + "\n", [&] { getInputString(long_.data.get(), false); }).unread,
        std::string(71, 'a') + "\n");
    EXPECT_EQ(long_.text(), std::string(128, 'a'));
}

// The end of input ends the text; no byte 0xFF is stored.
TEST(InputString, EndOfInputEndsTheText)
{
    TextBuffer unfinished;
    runOnConsole("  abc", [&] { getInputString(unfinished.data.get(), true); });
    EXPECT_EQ(unfinished.text(), "abc");

    TextBuffer empty;
    runOnConsole("\n\n", [&] { getInputString(empty.data.get(), true); });
    EXPECT_EQ(empty.text(), "");

    // getChar gives '0' at the end, and that character starts the text.
    TextBuffer prompted;
    runOnConsole("", [&] { promptForString("", prompted.data.get()); });
    EXPECT_EQ(prompted.text(), "0");
}

// 128 newlines are passed over, so the 129th starts the text: the line it
// ends is empty, and the buffer must still hold a terminated text.
TEST(InputString, NewlineAfterTheSkipLimitGivesAnEmptyText)
{
    TextBuffer line;
    const ConsoleRun run
        = runOnConsole(std::string(129, '\n') + "x\n", [&] { getInputString(line.data.get(), true); });
    EXPECT_EQ(line.text(), "");
    EXPECT_EQ(run.unread, "x\n");
}

} // namespace
