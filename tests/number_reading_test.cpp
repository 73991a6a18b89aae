// The numeric prompts' reading rule, case by case: the text typed, the number
// it gives (or a failed read), and what stays in the input. Each group pins
// a reading on which C libraries' scanf differ.
#include "Number_Reading.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr bool FAILS = false;

template <typename Number> struct ReadCase {
    const char* text;
    bool read;
    Number value; // when read
    const char* unread;
};

// Reads the case's text with `read` into a number that holds `untouched`,
// checks whether it read and what it left unread, and gives the number.
template <typename Number, typename Read>
Number readCase(const ReadCase<Number>& c, Number untouched, Read read)
{
    Number value = untouched;
    bool got = false;
    const ConsoleRun run = runOnConsole(c.text, [&] { got = read(stdin, value, nullptr, 0); });
    EXPECT_EQ(got, c.read) << c.text;
    EXPECT_EQ(run.unread, c.unread) << c.text;
    return value;
}

const ReadCase<double> DOUBLE_CASES[] = {
    // Incomplete exponents are consumed, and fail.
    { "1e", FAILS, 0, "" },
    { "1e+\n", FAILS, 0, "\n" },
    { "1.5e-x", FAILS, 0, "x" },
    { "0x1p", FAILS, 0, "" },
    { "1e5x", true, 1e5, "x" },
    { "1E+2 3", true, 100, " 3" },
    // NaN, with and without its n-char-sequence.
    { "nan", true, NaN, "" },
    { "NaN(12ab_Z)y", true, NaN, "y" },
    { "nan()", true, NaN, "" },
    { "nan(", FAILS, 0, "" },
    { "nan(12 )", FAILS, 0, " )" },
    { "nax", FAILS, 0, "x" },
    // Its characters are a to z, A to Z, 0 to 9 and _: not their neighbours.
    { "nan(azAZ09_)", true, NaN, "" },
    { "nan(`)", FAILS, 0, "`)" },
    { "nan(@)", FAILS, 0, "@)" },
    { "nan([)", FAILS, 0, "[)" },
    { "nan(/)", FAILS, 0, "/)" },
    { "nan(:)", FAILS, 0, ":)" },
    { "nan(^)", FAILS, 0, "^)" },
    { "nan({)", FAILS, 0, "{)" },
    // Broken inf and nan words: the longest start of a word is consumed.
    { "in5", FAILS, 0, "5" },
    { "infinite", FAILS, 0, "e" },
    { "infin", FAILS, 0, "" },
    { "ninf", FAILS, 0, "inf" },
    { "INFx", true, INF, "x" },
    { "-Infinity!", true, -INF, "!" },
    // A point or a hexadecimal prefix with no digit.
    { ".e1", FAILS, 0, "e1" },
    { "0xp1", FAILS, 0, "p1" },
    { "0x\n", FAILS, 0, "\n" },
    { ".", FAILS, 0, "" },
    { "-", FAILS, 0, "" },
    { "+ 1", FAILS, 0, " 1" },
    { "%", FAILS, 0, "%" },
    { "", FAILS, 0, "" },
    { " \t\n\v\f\r", FAILS, 0, "" },
    { ".5.5", true, 0.5, ".5" },
    { "5.", true, 5, "" },
    { "-0", true, -0.0, "" },
    { "0x.8", true, 0.5, "" },
    { "0X1.8P1", true, 3, "" },
    { "0x10", true, 16, "" },
    // Digits are 0 to 9, and a to f and A to F after 0x: not their neighbours.
    { "1/", true, 1, "/" },
    { "1:", true, 1, ":" },
    { "/1", FAILS, 0, "/1" },
    { ":1", FAILS, 0, ":1" },
    { "1./", true, 1, "/" },
    { "1e/", FAILS, 0, "/" },
    { "1e-:", FAILS, 0, ":" },
    { "1e1:", true, 10, ":" },
    { "0x1g", true, 1, "g" },
    { "0x1`", true, 1, "`" },
    { "0x1G", true, 1, "G" },
    { "0x1@", true, 1, "@" },
    { "0x1/", true, 1, "/" },
    { "0x1:", true, 1, ":" },
    { "0x`", FAILS, 0, "`" },
    { "0x1p:", FAILS, 0, ":" },
    { "0xfF9", true, 0xff9, "" },
    // More digits than a C library keeps: still correctly rounded.
    { "9007199254740993", true, 0x1p53, "" }, // a tie: to even
    { "9007199254740997", true, 0x1p53 + 4, "" }, // to even in the last bit alone
    { "9007199254740993.0000000000000000000000000000001", true, 0x1p53 + 2, "" },
    { "0.1000000000000000055511151231257827021181583404541015625", true, 0.1, "" },
    // Doubles' edges: overflow, the least subnormal, and half of it.
    { "1.7976931348623158e308", true, 0x1.fffffffffffffp1023, "" },
    { "1.7976931348623159e308", true, INF, "" },
    { "4.9406564584124654e-324", true, 0x1p-1074, "" },
    { "2.4703282292062327e-324", true, 0, "" },
    { "2.4703282292062328e-324", true, 0x1p-1074, "" },
    { "2.2250738585072011e-308", true, 0x0.fffffffffffffp-1022, "" },
    { "1e99999999999999999999", true, INF, "" },
    { "-1e-99999999999999999999", true, -0.0, "" },
    // Hexadecimal ties and the subnormal grid.
    { "0x1.00000000000008p0", true, 1, "" },
    { "0x1.00000000000018p0", true, 1 + 0x1p-51, "" },
    { "0x1.00000000000028p0", true, 1 + 0x1p-51, "" },
    { "0x1p-1075", true, 0, "" },
    { "0x1.8p-1075", true, 0x1p-1074, "" },
    { "0x1.00000000000008p-1075", true, 0x1p-1074, "" }, // glibc 2.36 gives 0
    { "0x1.fffffffffffff7ffp-1023", true, 0x1p-1022, "" }, // up to the least normal
    { "0x1.fffffffffffff8p1023", true, INF, "" },
    { "0x1.8p1024", true, INF, "" },
    { "0x1p99999999999999999999", true, INF, "" },
    { "0x1p-99999999999999999999", true, 0, "" },
    { "0x1p-1074", true, 0x1p-1074, "" },
    { "0x1.000000000000081p0", true, 1 + 0x1p-52, "" }, // a digit past the kept ones breaks the tie
    { "0x1.000000000000080p0", true, 1, "" }, // zeros past them leave it a tie
    { "0x10000000000000800", true, 0x1p64, "" },
    { "0x10000000000000000", true, 0x1p64, "" },
    // Letter digits in either case, leading zeros, a zero of any exponent.
    { "0xa", true, 10, "" },
    { "0XaBcDeF", true, 0xabcdef, "" },
    { "0xAbCdEf", true, 0xabcdef, "" },
    { "0x0", true, 0, "" },
    { "005", true, 5, "" },
    { "0e400", true, 0, "" },
    { "NAN", true, NaN, "" },
    // White space is ' ' and \t to \r: their neighbours are not.
    { "\b1", FAILS, 0, "\b1" },
    { "\x0e-1", FAILS, 0, "\x0e-1" },
    { "\x1f-1", FAILS, 0, "\x1f-1" },
    { "!1", FAILS, 0, "!1" },
    // Past the one-operation path (a significand of at most 15 digits and a
    // power of ten up to 10^22, both exact doubles): the exact quotient decides.
    { "9917142.186040747e5", true, 0x1.cdcd8c24d8264p+39, "" },
    { "1e-23", true, 0x1.82db34012b251p-77, "" },
    { "3e23", true, 0x1.fc3842bd1f072p+77, "" },
    { "12345678901234567e1", true, 0x1.b69b4ba630f34p+56, "" },
    { "44395085906370988", true, 0x1.3b7230da71c36p+55, "" }, // a tie that the division reaches exactly
    { "1e53", true, 0x1.0b46c6cdd6e3ep+176, "" },
    { "0.99999999999999989", true, 0x1.fffffffffffffp-1, "" },
    { "1e-138", true, 0x1.7d12a4670c123p-459, "" },
    { "37675475641622314", true, 0x1.0bb34a7cb9be5p+55, "" },
    // The operands' lengths put the leading bit one too high, and the last
    // bit of the quotient decides.
    { "507.64163721286816", true, 0x1.fba442561d2a5p+8, "" },
    { "7174222997.496446", true, 0x1.ab9df4957f171p+32, "" },
};

std::uint64_t bits(double x)
{
    return std::bit_cast<std::uint64_t>(x);
}

TEST(ReadDouble, TakesTheLongestStartOfANumberAndLeavesTheRest)
{
    for (const ReadCase<double>& c : DOUBLE_CASES) {
        const double value = readCase(c, -7.0, readDouble);
        if (!c.read) {
            EXPECT_EQ(bits(value), bits(-7.0)) << c.text << ": a failed read stores nothing";
        } else if (c.value != c.value) {
            EXPECT_NE(value, value) << c.text;
        } else {
            EXPECT_EQ(bits(value), bits(c.value)) << c.text << " gave " << value;
        }
    }
}

// Past the 800 digits kept, only whether a digit was 0 counts; it must still
// decide a tie that the kept digits reach exactly.
TEST(ReadDouble, DigitsPastTheKeptOnesStillDecideATie)
{
    const std::string tie = "9007199254740993." + std::string(MAX_SIGNIFICANT_DIGITS, '0');
    for (const auto& [text, expected] : { std::pair { tie, 0x1p53 }, std::pair { tie + "1", 0x1p53 + 2 },
             std::pair { "0." + std::string(5000, '0') + "1e5001", 1.0 },
             std::pair { "1" + std::string(5000, '0') + "e-5000", 1.0 } }) {
        double value = 0;
        const ConsoleRun run = runOnConsole(text + "\n", [&] { readDouble(stdin, value); });
        EXPECT_EQ(bits(value), bits(expected)) << text.size() << " characters";
        EXPECT_EQ(run.unread, "\n");
    }
}

const ReadCase<int> INTEGER_CASES[] = {
    { "12.5", true, 12, ".5" },
    { "  \n+42\n", true, 42, "\n" },
    { "-0", true, 0, "" },
    { "2147483647", true, INT_MAX, "" },
    { "2147483648", true, INT_MAX, "" },
    { "-2147483647", true, -INT_MAX, "" },
    { "-2147483648", true, INT_MIN, "" },
    { "-2147483649", true, INT_MIN, "" },
    // Beyond 64 bits, where C libraries saturate or wrap.
    { "99999999999999999999 1", true, INT_MAX, " 1" },
    { "-99999999999999999999999999999999", true, INT_MIN, "" },
    { "-", FAILS, 0, "" },
    { "+x", FAILS, 0, "x" },
    { "x", FAILS, 0, "x" },
    { ".5", FAILS, 0, ".5" },
    { "", FAILS, 0, "" },
    // Digits and white space as for readDouble: not their neighbours.
    { "1/", true, 1, "/" },
    { "9:", true, 9, ":" },
    { "/1", FAILS, 0, "/1" },
    { ":1", FAILS, 0, ":1" },
    { "\t\r 09", true, 9, "" },
    { "\b1", FAILS, 0, "\b1" },
    { "\x0e-1", FAILS, 0, "\x0e-1" },
    { "\x1f-1", FAILS, 0, "\x1f-1" },
    { "!1", FAILS, 0, "!1" },
};

TEST(ReadInteger, TakesASignAndDigitsAndGivesTheNearestInt)
{
    for (const ReadCase<int>& c : INTEGER_CASES) {
        EXPECT_EQ(readCase(c, -7, readInteger), c.read ? c.value : -7) << c.text;
    }
}

} // namespace
