// Binary floating point with a 256-bit significand and a 64-bit exponent, for
// the payment's rare inputs that doubled doubles cannot decide. Every result
// is rounded to nearest, ties to even, so its relative error is at most
// 2^-256; each value also records whether it is exact, that is, whether any
// rounding took part in it, so that an exact tie can be told from a close
// call. Fixed storage, no allocation.
#ifndef WIDE_FLOAT_H
#define WIDE_FLOAT_H

#include "Double_Double.h"
#include "Fixed_Unsigned.h"

#include <cstdint>

struct WideFloat {
    static constexpr int LIMBS = 8;
    static constexpr int BITS = 32 * LIMBS;
    // The value is significand * 2^(exponent - BITS), the significand's top
    // bit set; a zero's significand is 0.
    FixedUnsigned<LIMBS> significand;
    std::int64_t exponent;
    bool negative;
    bool exact;
};

// value * 2^power, exactly.
WideFloat wideFromInteger(std::uint64_t value, std::int64_t power = 0, bool negative = false);
// A finite double, exactly.
WideFloat wideFromDouble(double value);

WideFloat operator+(const WideFloat& a, const WideFloat& b);
WideFloat operator*(const WideFloat& a, const WideFloat& b);

inline WideFloat operator-(WideFloat a)
{
    a.negative = !a.negative;
    return a;
}

inline WideFloat operator-(const WideFloat& a, const WideFloat& b)
{
    return a + -b;
}

inline bool isZero(const WideFloat& a)
{
    return a.significand.word[WideFloat::LIMBS - 1] == 0;
}

// a * 2^-exponent, in [0.5, 1) or (-1, -0.5], to within 2^-104 of itself.
DoubleDouble wideLeadingPart(const WideFloat& a);

#endif
