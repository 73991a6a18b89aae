// Numbers read from a stream by ISO C's rule for scanf's "%lf" and "%d", with
// the same result whatever the C library: white space is skipped, then the
// input item is the longest run of characters that is, or begins, a number;
// the character after it is pushed back. An item that is only the start of a
// number (such as "1e", "-" or "0x") is consumed, and the read fails.
//
// Used by the numeric prompts; not installed.
#ifndef NUMBER_READING_H
#define NUMBER_READING_H

#include <cstdio>

// Decimal digits kept of a number; every further digit only tells whether it
// was zero. A double's midpoints have at most 768 significant digits (the
// one just below 2^-1021, (2^54 - 1) 2^-1075), so the number rounds as if it
// had all of its digits.
inline constexpr int MAX_SIGNIFICANT_DIGITS = 800;

// A decimal or hexadecimal floating-point number, an infinity or a NaN, in
// any case, with an optional sign, rounded to the nearest double (ties to
// even). Stores it in `value` and returns true, or returns false and leaves
// `value` alone when the read fails or the input has ended.
//
// When `taken` is given, it receives the characters the item consumed (not
// the white space before it), as many as `takenSize` holds with its
// terminator, so that a caller can show the text that failed.
bool readDouble(std::FILE* in, double& value, char* taken = nullptr, int takenSize = 0);

// An optional sign and decimal digits; a number beyond int gives the nearest
// int, however many digits it has. As readDouble otherwise.
bool readInteger(std::FILE* in, int& value, char* taken = nullptr, int takenSize = 0);

#endif
