// A double-double with an exponent of its own, so that no product or
// quotient over- or underflows until the end, where it is turned back into a
// double. Internal; not installed.
#ifndef SCALED_DOUBLE_DOUBLE_H
#define SCALED_DOUBLE_DOUBLE_H

#include "Double_Bits.h"
#include "Double_Double.h"

#include <cstdint>

// (hi + lo) * 2^exponent, with 1 <= |hi| < 2 or hi == 0.
struct ScaledDoubleDouble {
    DoubleDouble mantissa;
    std::int64_t exponent;
};

// `value` * 2^exponent, for a finite value.
constexpr ScaledDoubleDouble scaled(DoubleDouble value, std::int64_t exponent = 0)
{
    if (value.hi == 0.0) {
        return { { 0.0, 0.0 }, 0 };
    }
    if (absolute(value.hi) < 0x1p-1000) { // subnormals have no exponent bits
        value = { value.hi * 0x1p200, value.lo * 0x1p200 };
        exponent -= 200;
    }
    const std::int64_t power = binaryParts(value.hi).power + 52; // hi is normal here
    return { { timesPowerOfTwo(value.hi, -power), timesPowerOfTwo(value.lo, -power) }, exponent + power };
}

constexpr ScaledDoubleDouble scaled(double value)
{
    return scaled(DoubleDouble { value, 0.0 });
}

// The nearest double (among the subnormals, rounded twice), or an infinity
// or a zero of the right sign beyond the doubles' range.
constexpr double toDouble(ScaledDoubleDouble x)
{
    // Past 2^2200 either way every mantissa gives the same infinity or zero.
    const std::int64_t exponent = x.exponent < -2200 ? -2200 : x.exponent > 2200 ? 2200 : x.exponent;
    return timesPowerOfTwo(x.mantissa.hi + x.mantissa.lo, exponent);
}

constexpr ScaledDoubleDouble operator-(ScaledDoubleDouble a)
{
    return { -a.mantissa, a.exponent };
}

constexpr ScaledDoubleDouble operator*(ScaledDoubleDouble a, ScaledDoubleDouble b)
{
    return scaled(a.mantissa * b.mantissa, a.exponent + b.exponent);
}

constexpr ScaledDoubleDouble operator/(ScaledDoubleDouble a, ScaledDoubleDouble b)
{
    return scaled(a.mantissa / b.mantissa, a.exponent - b.exponent);
}

#endif
