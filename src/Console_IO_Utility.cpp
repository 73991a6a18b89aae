#include "Console_IO_Utility.h"
#include "Number_Reading.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Integer texts and the double printer's format are built here, terminator
// included.
constexpr int NUMBER_BUFFER_SIZE = 32;

// A finite double's exact decimal expansion ends within 1074 digits after the
// point, so further decimals are all zeros. Asking the C library for them
// instead can cost gigabytes of scratch memory.
constexpr int MAX_EXACT_DECIMALS = 1074;

// The longest fixed-point text of a double: a sign, the 309 integer digits of
// the largest, the locale's decimal point (a character, at most MB_LEN_MAX
// bytes), the exact decimals and the terminator.
constexpr int FIXED_POINT_BUFFER_SIZE = 1 + 309 + MB_LEN_MAX + MAX_EXACT_DECIMALS + 1;

// Spaces to print before a text of `length` characters; the spaces after it
// are then blockSize - length - before. The length is wide because zeros
// added to a number's text can make it longer than any int.
long long spacesBefore(long long length, int blockSize, const char* justify)
{
    // No keyword adds spaces to a block that is not wider than the text, so
    // the plain printers need not compare keywords at all.
    if (blockSize <= length) {
        return 0;
    }
    if (std::strcmp(justify, "LEFT") == 0) {
        return 0;
    }
    if (std::strcmp(justify, "RIGHT") == 0) {
        return blockSize - length;
    }
    // Each half truncates on its own, which fixes the side of the odd space.
    return blockSize / 2 - length / 2;
}

void printSpaces(long long count)
{
    printCharacters(static_cast<int>(std::clamp<long long>(count, 0, INT_MAX)), ' ');
}

// Prints `text` followed by `zeros` zeros, placed in the block as one text.
void printPlaced(const char* text, int zeros, int blockSize, const char* justify)
{
    const auto length = static_cast<long long>(std::strlen(text)) + zeros;
    const long long before = spacesBefore(length, blockSize, justify);
    printSpaces(before);
    std::fputs(text, stdout); // never a format: '%' prints as itself
    printCharacters(zeros, '0');
    printSpaces(blockSize - length - before);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The C library writes the decimal point of the caller's locale, such as
// ',': it becomes '.', so that a number prints the same in every locale.
void useFullStop(char* text)
{
    char* point = text + (text[0] == '-' ? 1 : 0);
    while (isDigit(*point)) {
        ++point;
    }
    char* decimals = point;
    while (*decimals != '\0' && !isDigit(*decimals)) {
        ++decimals;
    }
    if (*decimals != '\0') { // not when there are no decimals, nor for inf and nan
        *point = '.';
        // The decimals and the terminator close up behind it: copied forward,
        // as the point they replace was at least as long.
        char* to = point + 1;
        do {
            *to++ = *decimals;
        } while (*decimals++ != '\0');
    }
}

void writePrompt(const char* promptString)
{
    std::fputs(promptString, stdout);
    std::fflush(stdout); // the prompt must show before we wait, even on a pipe
}

// Reads to the end of the line, its newline included, and appends what fits
// of it to the `length` characters of `text`, when given.
int readRestOfLine(char* text, int length)
{
    int character = std::getchar();
    for (; character != '\n' && character != EOF; character = std::getchar()) {
        if (text != nullptr && length < MAX_TEXT_LENGTH) {
            text[length++] = static_cast<char>(character);
            text[length] = '\0';
        }
    }
    return character;
}

template <typename Number>
bool promptChecked(
    const char* promptString, Number& value, char* failedText, bool (*read)(std::FILE*, Number&, char*, int))
{
    writePrompt(promptString);
    Number number {};
    char taken[TEXT_BUFFER_SIZE];
    // A number cut short by a read error was not read whole.
    if (read(stdin, number, taken, TEXT_BUFFER_SIZE) && std::ferror(stdin) == 0) {
        value = number;
        return true;
    }
    if (failedText != nullptr) {
        const size_t length = std::strlen(taken);
        std::memcpy(failedText, taken, length + 1);
        readRestOfLine(failedText, static_cast<int>(length));
    }
    return false;
}

// EOF is negative, so it counts as a control character here.
bool isSkippable(int character, bool includeSpaces)
{
    return character < ' ' || (character == ' ' && !includeSpaces);
}

} // namespace

void printCharacter(char outChar)
{
    printCharacters(1, outChar);
}

void printCharacters(int numChars, char outChar)
{
    for (int printed = 0; printed < numChars; ++printed) {
        std::putchar(static_cast<unsigned char>(outChar));
    }
}

void printEndline()
{
    std::putchar('\n');
}

void printEndlines(int numEndlines)
{
    printCharacters(numEndlines, '\n');
}

void printString(const char* outString)
{
    printStringJustified(outString, 0, "LEFT");
}

void printStringJustified(const char* outString, int blockSize, const char* justify)
{
    printPlaced(outString, 0, blockSize, justify);
}

void printInteger(int value)
{
    printIntegerJustified(value, 0, "LEFT");
}

void printIntegerJustified(int value, int blockSize, const char* justify)
{
    char text[NUMBER_BUFFER_SIZE];
    std::snprintf(text, sizeof text, "%d", value);
    printStringJustified(text, blockSize, justify);
}

void printLongInteger(long value)
{
    printLongIntegerJustified(value, 0, "LEFT");
}

void printLongIntegerJustified(long value, int blockSize, const char* justify)
{
    char text[NUMBER_BUFFER_SIZE];
    std::snprintf(text, sizeof text, "%ld", value);
    printStringJustified(text, blockSize, justify);
}

void printDouble(double value, int precision)
{
    printDoubleJustified(value, precision, 0, "LEFT");
}

void printDoubleJustified(double value, int precision, int blockSize, const char* justify)
{
    // A not-a-number has no meaningful sign, yet C libraries print the sign
    // bit, which differs between CPUs for the same arithmetic: print "nan".
    if (std::isnan(value)) {
        value = std::fabs(value);
    }
    // A negative precision reads as none; past the exact digits we add the
    // zeros ourselves.
    const int decimals = std::clamp(precision, 0, MAX_EXACT_DECIMALS);
    const int extraZeros = std::isfinite(value) ? std::max(precision, 0) - decimals : 0;

    char format[NUMBER_BUFFER_SIZE];
    std::snprintf(format, sizeof format, "%s0.%dlf", "%", decimals);

    char text[FIXED_POINT_BUFFER_SIZE];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral" // built above from a fixed template
    if (std::snprintf(text, sizeof text, format, value) < 0) {
        text[0] = '\0';
    }
#pragma GCC diagnostic pop
    useFullStop(text);
    printPlaced(text, extraZeros, blockSize, justify);
}

// The conversions are scanf's "%lf" and "%d" as ISO C defines them, done in
// Number_Reading.cpp so that every C library reads the same number; an out of
// range int, undefined for scanf, gives the nearest one.
double promptForDouble(const char* promptString)
{
    writePrompt(promptString);
    double value = 0.0;
    readDouble(stdin, value);
    return value;
}

int promptForInteger(const char* promptString)
{
    writePrompt(promptString);
    int value = 0;
    readInteger(stdin, value);
    return value;
}

bool promptForDoubleChecked(const char* promptString, double& value, char* failedText)
{
    return promptChecked(promptString, value, failedText, readDouble);
}

bool promptForIntegerChecked(const char* promptString, int& value, char* failedText)
{
    return promptChecked(promptString, value, failedText, readInteger);
}

int clearRestOfLine()
{
    return readRestOfLine(nullptr, 0);
}

int clearLeadingCharacters(bool includeSpaces)
{
    int character = std::getchar();
    for (int skipped = 0; isSkippable(character, includeSpaces) && skipped < MAX_SKIPPED_CHARACTERS;
         ++skipped) {
        character = std::getchar();
    }
    return character;
}

char getCharFiltered(bool includeSpaces)
{
    const int character = clearLeadingCharacters(includeSpaces);
    return character == EOF ? '0' : static_cast<char>(character);
}

char getChar()
{
    return getCharFiltered(false);
}

void getInputString(char* str, bool viaClearLeading)
{
    int character = viaClearLeading ? clearLeadingCharacters(false) : static_cast<unsigned char>(getChar());
    // Terminated from the start: the first character may already end the line.
    str[0] = '\0';
    for (int stored = 0; character != '\n' && character != EOF && stored < MAX_TEXT_LENGTH; ++stored) {
        str[stored] = static_cast<char>(character);
        str[stored + 1] = '\0';
        character = std::getchar();
    }
}

char promptForCharacter(const char* promptString)
{
    writePrompt(promptString);
    return getChar();
}

void promptForString(const char* promptString, char* str)
{
    writePrompt(promptString);
    getInputString(str, false);
}
