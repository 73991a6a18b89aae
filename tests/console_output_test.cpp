#include "Console_IO_Utility.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string justified(const char* text, int blockSize, const char* justify)
{
    return printed([&] { printStringJustified(text, blockSize, justify); });
}

std::string doubleText(double value, int precision)
{
    return printed([&] { printDouble(value, precision); });
}

// What the C library prints for the value, with room for any length.
std::string libcFixed(double value, int precision)
{
    const int length = std::snprintf(nullptr, 0, "%.*f", precision, value);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), "%.*f", precision, value);
    return text.data();
}

TEST(Justify, LeftAndRightPutAllSpacesOnOneSide)
{
    EXPECT_EQ(justified("abc", 10, "LEFT"), "abc       ");
    EXPECT_EQ(justified("abc", 10, "RIGHT"), "       abc");
    EXPECT_EQ(justified("", 3, "RIGHT"), "   ");
}

TEST(Justify, CentringPutsTheOddSpaceOnAFixedSide)
{
    EXPECT_EQ(justified("abc", 10, "CENTER"), "    abc   "); // even block, odd text: extra before
    EXPECT_EQ(justified("abcd", 9, "CENTER"), "  abcd   "); // odd block, even text: extra after
    EXPECT_EQ(justified("ab", 6, "middle"), "  ab  ");
    EXPECT_EQ(justified("abc", 9, "CENTER"), "   abc   ");
}

TEST(Justify, AnyOtherKeywordCentres)
{
    EXPECT_EQ(justified("ab", 6, "left"), "  ab  "); // keywords are case-sensitive
    EXPECT_EQ(justified("ab", 6, "right"), "  ab  ");
    EXPECT_EQ(justified("ab", 6, ""), "  ab  ");
    EXPECT_EQ(justified("ab", 6, "LEFT "), "  ab  ");
}

TEST(Justify, BlockNotWiderThanTextAddsNothing)
{
    for (const char* keyword : { "LEFT", "RIGHT", "CENTER" }) {
        EXPECT_EQ(justified("abc", 0, keyword), "abc") << keyword;
        EXPECT_EQ(justified("abc", 3, keyword), "abc") << keyword;
        EXPECT_EQ(justified("abcdefgh", 5, keyword), "abcdefgh") << keyword;
        EXPECT_EQ(justified("abc", -7, keyword), "abc") << keyword;
        // blockSize - length must not wrap around to a huge count.
        EXPECT_EQ(justified("abc", INT_MIN, keyword), "abc") << keyword;
    }
}

TEST(PrintString, PrintsTextLiterallyWithNothingAdded)
{
    EXPECT_EQ(printed([] { printString(""); }), "");
    EXPECT_EQ(printed([] { printString("100%"); }), "100%");
    EXPECT_EQ(printed([] { printString("%s %d %n %%"); }), "%s %d %n %%");
    EXPECT_EQ(justified("%d%%", 6, "RIGHT"), "  %d%%");
}

TEST(PrintCharacters, RepeatsOrPrintsNothing)
{
    EXPECT_EQ(printed([] { printCharacters(3, 'x'); }), "xxx");
    EXPECT_EQ(printed([] { printCharacters(0, 'x'); }), "");
    EXPECT_EQ(printed([] { printCharacters(-5, 'x'); }), "");
    EXPECT_EQ(printed([] { printCharacter('%'); }), "%");
    EXPECT_EQ(printed([] { printCharacter('\xff'); }), "\xff");
    EXPECT_EQ(printed([] { printEndline(); }), "\n");
    EXPECT_EQ(printed([] { printEndlines(3); }), "\n\n\n");
    EXPECT_EQ(printed([] { printEndlines(0); }), "");
    EXPECT_EQ(printed([] { printEndlines(-1); }), "");
}

TEST(PrintInteger, DecimalWithSignAndJustified)
{
    EXPECT_EQ(printed([] { printInteger(-42); }), "-42");
    EXPECT_EQ(printed([] { printInteger(INT_MIN); }), "-2147483648");
    EXPECT_EQ(printed([] { printIntegerJustified(7, 3, "CENTER"); }), " 7 ");
    EXPECT_EQ(printed([] { printIntegerJustified(12, 5, "RIGHT"); }), "   12");
    EXPECT_EQ(printed([] { printLongInteger(LONG_MIN); }), std::to_string(LONG_MIN)); // 32 or 64 bits
    EXPECT_EQ(printed([] { printLongIntegerJustified(5, 4, "LEFT"); }), "5   ");
}

// The number printers hand their keyword on: each places its text as the
// string printer would, under every keyword.
TEST(PrintNumbersJustified, EveryKeywordPlacesTheNumber)
{
    for (const auto& row : { std::pair { "LEFT", "-7    " }, std::pair { "RIGHT", "    -7" },
             std::pair { "CENTER", "  -7  " } }) {
        const char* keyword = row.first;
        const std::string placed = row.second;
        EXPECT_EQ(printed([&] { printIntegerJustified(-7, 6, keyword); }), placed) << keyword;
        EXPECT_EQ(printed([&] { printLongIntegerJustified(-7, 6, keyword); }), placed) << keyword;
        EXPECT_EQ(printed([&] { printDoubleJustified(-7.0, 0, 6, keyword); }), placed) << keyword;
    }
}

TEST(PrintDouble, FixedPointRoundedToPrecision)
{
    EXPECT_EQ(doubleText(1000, 2), "1000.00");
    EXPECT_EQ(doubleText(0.015, 4), "0.0150");
    EXPECT_EQ(doubleText(-3.146, 2), "-3.15");
    EXPECT_EQ(doubleText(7, 0), "7");
    EXPECT_EQ(doubleText(0.125, 2), "0.12"); // exact tie: rounds to even
    EXPECT_EQ(doubleText(1234567.891, 1), "1234567.9"); // no grouping
    EXPECT_EQ(printed([] { printDoubleJustified(1.5, 2, 8, "RIGHT"); }), "    1.50");
    EXPECT_EQ(printed([] { printDoubleJustified(-1.5, 1, 7, "CENTER"); }), " -1.5  ");
}

TEST(PrintDouble, NegativePrecisionPrintsAsNone)
{
    EXPECT_EQ(doubleText(3.7, -1), "4");
    EXPECT_EQ(doubleText(-2.25, INT_MIN), "-2");
    EXPECT_EQ(printed([] { printDoubleJustified(0.0, -1, 1, "LEFT"); }), "0");
    EXPECT_EQ(printed([] { printDoubleJustified(3.7, -1, 3, "RIGHT"); }), "  4");
    EXPECT_EQ(printed([] { printDoubleJustified(-2.25, INT_MIN, 4, "CENTER"); }), " -2 ");
}

TEST(PrintDouble, NonFiniteValuesAsTheLibraryPrintsThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(doubleText(inf, 2), "inf");
    EXPECT_EQ(doubleText(-inf, 2), "-inf");
    EXPECT_EQ(doubleText(std::nan(""), 2), "nan");
    // The sign bit of a NaN differs between CPUs for the same arithmetic.
    EXPECT_EQ(doubleText(-std::nan(""), 2), "nan");
    EXPECT_EQ(printed([] { printDoubleJustified(-std::nan(""), 2, 5, "RIGHT"); }), "  nan");
    EXPECT_EQ(doubleText(inf, 3000), "inf"); // no zeros added after a non-finite value
}

// Texts past the 32-character buffer must come out whole, not cut short.
TEST(PrintDouble, LongTextsArePrintedWhole)
{
    EXPECT_EQ(doubleText(1e40, 2), "10000000000000000303786028427003666890752.00");
    EXPECT_EQ(doubleText(-1e28, 2), "-9999999999999999583119736832.00"); // 32 characters
    EXPECT_EQ(doubleText(1e28, 2), "9999999999999999583119736832.00"); // 31: fits exactly
    EXPECT_EQ(doubleText(1.0 / 3, 40), "0.3333333333333333148296162562473909929395");
    const double lowest = -std::numeric_limits<double>::max();
    EXPECT_EQ(doubleText(lowest, 2), libcFixed(lowest, 2));
    // The longest text of all, 1385 characters: sign, 309 digits, point and
    // every exact decimal.
    EXPECT_EQ(doubleText(lowest, 1074), libcFixed(lowest, 1074));

    EXPECT_EQ(printed([] { printDoubleJustified(1e40, 2, 50, "RIGHT"); }),
        "      10000000000000000303786028427003666890752.00");
    EXPECT_EQ(printed([] { printDoubleJustified(1e40, 2, 47, "CENTER"); }),
        " 10000000000000000303786028427003666890752.00  ");
    EXPECT_EQ(printed([] { printDoubleJustified(1e40, 2, 10, "LEFT"); }),
        "10000000000000000303786028427003666890752.00");
}

TEST(PrintDouble, PrecisionBeyondExactDigitsMatchesTheLibrary)
{
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(doubleText(smallest, 1074), libcFixed(smallest, 1074));
    EXPECT_EQ(doubleText(smallest, 1200), libcFixed(smallest, 1200));
    EXPECT_EQ(doubleText(-0.1, 2000), libcFixed(-0.1, 2000));
    EXPECT_EQ(printed([] { printDoubleJustified(1.0, 1100, 1110, "RIGHT"); }),
        std::string(8, ' ') + libcFixed(1.0, 1100));
}

#ifndef _WIN32 // getrusage is POSIX's
// Past the exact digits the zeros are ours: the C library would build the
// whole text in scratch memory first, some 10 MB for these two million
// decimals, 20 MB under AddressSanitizer.
TEST(PrintDouble, HugePrecisionNeedsNoScratchMemory)
{
    constexpr int precision = 2'000'000;
    long growth = -1;
    const std::string written = printed([&] {
        const long before = peakResident();
        printDouble(0.1, precision);
        growth = peakResident() - before;
    });
    EXPECT_LT(growth, 4L << 20);
    ASSERT_EQ(written.size(), precision + 2U);
    EXPECT_EQ(written.substr(0, 1076), libcFixed(0.1, 1074)); // "0." and the exact digits
    EXPECT_EQ(written.find_first_not_of('0', 1076), std::string::npos);
}
#endif

} // namespace
