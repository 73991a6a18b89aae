// Reads numbers as ISO C defines scanf's "%lf" and "%d" (C11 7.21.6.2 and
// 7.22.1.3), instead of leaving it to the C library: glibc's releases, musl
// and Windows' C runtime each read incomplete exponents, broken words and
// long digit strings their own way, and give other numbers for the same text.
#include "Number_Reading.h"

#include "Double_Bits.h"
#include "Fixed_Unsigned.h"

#include <climits>
#include <cstdint>
#include <limits>

namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();

// An exponent beyond this is saturated: it already puts any number of at most
// a billion digits past the doubles' range either way.
constexpr std::int64_t EXPONENT_LIMIT = 1'000'000'000'000;

bool isSpace(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r'); // the C locale's white space
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

int hexDigit(int c)
{
    if (isDigit(c)) {
        return c - '0';
    }
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
        return (c | 0x20) - 'a' + 10;
    }
    return -1;
}

int lowerCase(int c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

// The input as a conversion sees it: one character of look-ahead, which goes
// back into the stream when the item ends, as stdio guarantees for one.
struct Scanner {
    std::FILE* in;
    int next;
    char* taken; // the item's characters so far, terminated, or null
    int room; // how many more `taken` holds before its terminator
};

// Consumes the look-ahead into the item.
void advance(Scanner& scanner)
{
    if (scanner.room > 0) {
        *scanner.taken++ = static_cast<char>(scanner.next);
        *scanner.taken = '\0';
        --scanner.room;
    }
    scanner.next = std::getc(scanner.in);
}

Scanner startItem(std::FILE* in, char* taken, int takenSize)
{
    Scanner scanner { in, std::getc(in), taken, 0 };
    while (isSpace(scanner.next)) {
        scanner.next = std::getc(in);
    }
    if (taken != nullptr && takenSize > 0) {
        taken[0] = '\0';
        scanner.room = takenSize - 1;
    }
    return scanner;
}

// Pushes the look-ahead back and passes `success` through.
bool endItem(Scanner& scanner, bool success)
{
    if (scanner.next != EOF) {
        std::ungetc(scanner.next, scanner.in);
    }
    return success;
}

bool takeSign(Scanner& scanner)
{
    const bool negative = scanner.next == '-';
    if (negative || scanner.next == '+') {
        advance(scanner);
    }
    return negative;
}

// Takes the letters of `word` (lower case) in either case, as far as they go;
// true if all of them came.
bool takeWord(Scanner& scanner, const char* word)
{
    for (; *word != '\0'; ++word) {
        if (lowerCase(scanner.next) != *word) {
            return false;
        }
        advance(scanner);
    }
    return true;
}

// Decimal digits as an exponent, saturated; false if there is none.
bool takeExponent(Scanner& scanner, std::int64_t& exponent)
{
    const bool negative = takeSign(scanner);
    if (!isDigit(scanner.next)) {
        return false;
    }
    std::int64_t size = 0;
    for (; isDigit(scanner.next); advance(scanner)) {
        size = size < EXPONENT_LIMIT ? size * 10 + (scanner.next - '0') : EXPONENT_LIMIT;
    }
    exponent = negative ? -size : size;
    return true;
}

// Decimal conversion needs at most 3,790 bits; see decimalToDouble.
using Big = FixedUnsigned<128>;

void multiplyByPowerOfTen(Big& x, std::int64_t power)
{
    for (; power >= 9; power -= 9) {
        multiplyAdd(x, 1'000'000'000, 0);
    }
    std::uint32_t factor = 1;
    for (; power > 0; --power) {
        factor *= 10;
    }
    multiplyAdd(x, factor, 0);
}

// The significant digits of a decimal number: value = digits * 10^exponent.
struct Decimal {
    unsigned char digit[MAX_SIGNIFICANT_DIGITS + 1];
    int count;
    std::int64_t exponent;
    bool sticky; // a digit past the kept ones was not 0
};

// Appends one digit of the significand; `fraction` says which side of the
// point it stands on.
void takeDigit(Decimal& number, int value, bool fraction)
{
    if (number.count == 0 && value == 0) {
        number.exponent -= fraction ? 1 : 0; // a leading zero only moves the point
    } else if (number.count < MAX_SIGNIFICANT_DIGITS) {
        number.digit[number.count++] = static_cast<unsigned char>(value);
        number.exponent -= fraction ? 1 : 0;
    } else {
        number.sticky = number.sticky || value != 0;
        number.exponent += fraction ? 0 : 1;
    }
}

// The nearest double to a decimal number.
double decimalToDouble(Decimal& number)
{
    if (number.sticky) {
        // A 1 past the kept digits stands for the dropped ones: no midpoint
        // between doubles lies strictly between the kept digits and the full
        // number, and this 1 keeps the number off one that the kept digits hit.
        number.digit[number.count++] = 1;
        --number.exponent;
    }
    while (number.count > 0 && number.digit[number.count - 1] == 0) {
        --number.count;
        ++number.exponent;
    }
    if (number.count == 0) {
        return 0.0;
    }
    // Fast path (Clinger, 1990): a significand and a power of ten that are both
    // exact doubles give the correctly rounded quotient or product in one
    // operation.
    if (number.count <= 15 && number.exponent >= -22 && number.exponent <= 22) {
        double significand = 0.0;
        for (int i = 0; i < number.count; ++i) {
            significand = significand * 10.0 + number.digit[i];
        }
        double power = 1.0;
        for (std::int64_t i = number.exponent < 0 ? -number.exponent : number.exponent; i > 0; --i) {
            power *= 10.0;
        }
        return number.exponent < 0 ? significand / power : significand * power;
    }
    // 10^(magnitude - 1) <= value < 10^magnitude.
    const std::int64_t magnitude = number.count + number.exponent;
    if (magnitude > 310) {
        return INFINITE;
    }
    if (magnitude < -323) {
        return 0.0; // below 10^-324, under half the least subnormal
    }

    // Exact: value = numerator / denominator, then long division to 54 bits
    // and a sticky bit. Sizes: the digits are below 10^801, the denominator at
    // most 10^1124 (3,734 bits) times 2^53, and the running remainder below
    // twice that, so 3,790 bits hold every operand.
    Big numerator {};
    for (int i = 0; i < number.count;) {
        std::uint32_t chunk = 0;
        std::uint32_t factor = 1;
        for (int taken = 0; taken < 9 && i < number.count; ++taken, ++i) {
            chunk = chunk * 10 + number.digit[i];
            factor *= 10;
        }
        multiplyAdd(numerator, factor, chunk);
    }
    Big denominator {};
    denominator.word[0] = 1;
    if (number.exponent > 0) {
        multiplyByPowerOfTen(numerator, number.exponent);
    } else {
        multiplyByPowerOfTen(denominator, -number.exponent);
    }

    // 2^top <= value < 2^(top + 1): the bit lengths leave two choices.
    std::int64_t top = bitLength(numerator) - bitLength(denominator);
    Big scaledNumerator = numerator;
    Big scaledDenominator = denominator;
    shiftLeft(scaledNumerator, -top);
    shiftLeft(scaledDenominator, top);
    if (compare(scaledNumerator, scaledDenominator) < 0) {
        --top;
    }
    if (top >= 1024) {
        return INFINITE;
    }
    if (top < -1075) {
        return 0.0;
    }
    // Quotient bits from 2^top down to 2^low: one past the result's last bit.
    const std::int64_t low = gridUnit(top) - 1;
    shiftLeft(numerator, -low);
    shiftLeft(denominator, low);
    Big& remainder = numerator;
    shiftLeft(denominator, top - low);
    std::uint64_t quotient = 0;
    for (std::int64_t bit = top - low; bit >= 0; --bit) {
        quotient <<= 1;
        if (compare(remainder, denominator) >= 0) {
            subtract(remainder, denominator);
            quotient |= 1U;
        }
        if (bit > 0) {
            shiftLeft(remainder, 1);
        }
    }
    return roundToDouble(quotient << 1 | (bitLength(remainder) != 0 ? 1U : 0U), low - 1);
}

// After the "0x": hexadecimal digits with an optional point, and an optional
// binary exponent.
bool takeHexadecimal(Scanner& scanner, double& value)
{
    std::uint64_t significand = 0; // up to 60 bits kept
    std::int64_t exponent = 0;
    bool sticky = false;
    bool anyDigit = false;
    bool fraction = false;
    for (;; advance(scanner)) {
        if (scanner.next == '.' && !fraction) {
            fraction = true;
            continue;
        }
        const int digit = hexDigit(scanner.next);
        if (digit < 0) {
            break;
        }
        anyDigit = true;
        if (significand < (std::uint64_t { 1 } << 56)) {
            significand = significand * 16 + static_cast<unsigned>(digit);
            exponent -= fraction ? 4 : 0;
        } else {
            sticky = sticky || digit != 0;
            exponent += fraction ? 0 : 4;
        }
    }
    if (!anyDigit) {
        return false;
    }
    std::int64_t power = 0;
    if (lowerCase(scanner.next) == 'p') {
        advance(scanner);
        if (!takeExponent(scanner, power)) {
            return false;
        }
    }
    // Dropped digits count as half a unit of the last kept one: they cannot
    // put the number across a midpoint of the coarser double grid.
    value = roundToDouble(significand << 1 | (sticky ? 1U : 0U), exponent + power - 1);
    return true;
}

// Decimal digits with an optional point, and an optional exponent; `number`
// may hold a leading zero already.
bool takeDecimal(Scanner& scanner, bool anyDigit, double& value)
{
    Decimal number {};
    bool fraction = false;
    for (;; advance(scanner)) {
        if (scanner.next == '.' && !fraction) {
            fraction = true;
            continue;
        }
        if (!isDigit(scanner.next)) {
            break;
        }
        anyDigit = true;
        takeDigit(number, scanner.next - '0', fraction);
    }
    if (!anyDigit) {
        return false;
    }
    if (lowerCase(scanner.next) == 'e') {
        advance(scanner);
        std::int64_t power = 0;
        if (!takeExponent(scanner, power)) {
            return false;
        }
        number.exponent += power;
    }
    value = decimalToDouble(number);
    return true;
}

// The number after the sign.
bool takeUnsignedNumber(Scanner& scanner, double& value)
{
    switch (lowerCase(scanner.next)) {
    case 'i':
        value = INFINITE;
        // "inf" or "infinity"; "infin" is neither, but begins the second.
        return takeWord(scanner, "inf") && (lowerCase(scanner.next) != 'i' || takeWord(scanner, "inity"));
    case 'n':
        value = std::numeric_limits<double>::quiet_NaN();
        if (!takeWord(scanner, "nan")) {
            return false;
        }
        if (scanner.next != '(') {
            return true;
        }
        // nan(n-char-sequence): letters, digits and underscores, then ')'.
        do {
            advance(scanner);
        } while (isDigit(scanner.next) || (lowerCase(scanner.next) >= 'a' && lowerCase(scanner.next) <= 'z')
            || scanner.next == '_');
        if (scanner.next != ')') {
            return false;
        }
        advance(scanner);
        return true;
    case '0':
        advance(scanner);
        if (lowerCase(scanner.next) == 'x') {
            advance(scanner);
            return takeHexadecimal(scanner, value);
        }
        return takeDecimal(scanner, true, value);
    default:
        return takeDecimal(scanner, false, value);
    }
}

} // namespace

bool readDouble(std::FILE* in, double& value, char* taken, int takenSize)
{
    Scanner scanner = startItem(in, taken, takenSize);
    const bool negative = takeSign(scanner);
    double magnitude = 0.0;
    if (!takeUnsignedNumber(scanner, magnitude)) {
        return endItem(scanner, false);
    }
    value = negative ? -magnitude : magnitude;
    return endItem(scanner, true);
}

bool readInteger(std::FILE* in, int& value, char* taken, int takenSize)
{
    Scanner scanner = startItem(in, taken, takenSize);
    const bool negative = takeSign(scanner);
    if (!isDigit(scanner.next)) {
        return endItem(scanner, false);
    }
    // Anything past INT_MAX + 1 rounds to the same int, so that is as far as
    // the digits need to count.
    constexpr std::int64_t limit = std::int64_t { INT_MAX } + 1;
    std::int64_t size = 0;
    for (; isDigit(scanner.next); advance(scanner)) {
        size = size < limit ? size * 10 + (scanner.next - '0') : limit;
    }
    if (negative) {
        value = size >= limit ? INT_MIN : static_cast<int>(-size);
    } else {
        value = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    }
    return endItem(scanner, true);
}
