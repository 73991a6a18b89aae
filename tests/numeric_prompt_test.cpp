#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

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
    double a = 0;
    double b = 0;
    double c = 0;
    const ConsoleRun run = runOnConsole("1e3\n-2.5\n\n\n \t 7\n", [&] {
        a = promptForDouble("a");
        b = promptForDouble("b");
        c = promptForDouble("c");
    });
    EXPECT_EQ(a, 1000.0);
    EXPECT_EQ(b, -2.5);
    EXPECT_EQ(c, 7.0);
    EXPECT_EQ(run.output, "abc");
    EXPECT_EQ(run.unread, "\n");
}

TEST(PromptForDouble, ReadsInfinityNanAndOutOfRange)
{
    double a = 0;
    double b = 0;
    double c = 0;
    runOnConsole("inf nan 1e999\n", [&] {
        a = promptForDouble("");
        b = promptForDouble("");
        c = promptForDouble("");
    });
    EXPECT_TRUE(std::isinf(a));
    EXPECT_TRUE(std::isnan(b));
    EXPECT_TRUE(std::isinf(c));
}

TEST(PromptForInteger, StopsAtTheFirstCharacterThatIsNotADigit)
{
    int months = 0;
    double fraction = 0;
    const ConsoleRun run = runOnConsole("12.5\n", [&] {
        months = promptForInteger("m: ");
        fraction = promptForDouble("f: ");
    });
    EXPECT_EQ(months, 12);
    EXPECT_EQ(fraction, 0.5); // the ".5" left behind answers at once
    EXPECT_EQ(run.output, "m: f: ");
    EXPECT_EQ(run.unread, "\n");
}

TEST(PromptForInteger, SaturatesOutOfRangeNumbers)
{
    int high = 0;
    int low = 0;
    int huge = 0;
    const ConsoleRun run = runOnConsole("2147483648 -99999999999999999999999 +3000000000x", [&] {
        high = promptForInteger("");
        low = promptForInteger("");
        huge = promptForInteger("");
    });
    EXPECT_EQ(high, INT_MAX);
    EXPECT_EQ(low, INT_MIN);
    EXPECT_EQ(huge, INT_MAX);
    EXPECT_EQ(run.unread, "x");
}

TEST(NumericPrompts, SeveralNumbersOnOneLineAnswerInTurn)
{
    double amount = 0;
    double rate = 0;
    int months = 0;
    const ConsoleRun run = runOnConsole("1000 1 12\n", [&] {
        amount = promptForDouble("A: ");
        rate = promptForDouble("R: ");
        months = promptForInteger("M: ");
    });
    EXPECT_EQ(amount, 1000.0);
    EXPECT_EQ(rate, 1.0);
    EXPECT_EQ(months, 12);
    EXPECT_EQ(run.output, "A: R: M: ");
    EXPECT_EQ(run.unread, "\n");
}

// Text that does not convert gives 0 and stays put, so later prompts fail on
// it at once instead of waiting.
TEST(NumericPrompts, FailedConversionGivesZeroAndLeavesTheText)
{
    double rate = 0;
    double next = -1;
    int months = -1;
    const ConsoleRun run = runOnConsole("5%\n9\n", [&] {
        rate = promptForDouble("R: ");
        next = promptForDouble("X: ");
        months = promptForInteger("M: ");
    });
    EXPECT_EQ(rate, 5.0);
    EXPECT_EQ(next, 0.0);
    EXPECT_EQ(months, 0);
    EXPECT_EQ(run.output, "R: X: M: ");
    EXPECT_EQ(run.unread, "%\n9\n");

    const std::string nul = std::string(2, '\0') + "5\n";
    const ConsoleRun nulRun = runOnConsole(nul, [&] { rate = promptForDouble(""); });
    EXPECT_EQ(rate, 0.0);
    EXPECT_EQ(nulRun.unread, nul);
}

TEST(NumericPrompts, EndOfInputGivesZero)
{
    double amount = -1;
    int months = -1;
    const ConsoleRun run = runOnConsole("  \n\n", [&] {
        amount = promptForDouble("A: ");
        months = promptForInteger("M: ");
    });
    EXPECT_EQ(amount, 0.0);
    EXPECT_EQ(months, 0);
    EXPECT_EQ(run.output, "A: M: ");
    EXPECT_EQ(run.unread, "");
}

} // namespace
