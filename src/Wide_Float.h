// Binary floating point with a significand of 32 * LIMBS bits and a 64-bit
// exponent, from integer operations alone, for the payment. Every result is
// rounded to nearest, ties to even, so its relative error is at most
// 2^-(32 * LIMBS); each value also records whether it is exact, that is,
// whether any rounding took part in it, so that an exact tie can be told from
// a close call. Fixed storage, no allocation.
#ifndef WIDE_FLOAT_H
#define WIDE_FLOAT_H

#include "Double_Bits.h"
#include "Fixed_Unsigned.h"

#include <bit>
#include <cstdint>

template <int LIMBS> struct WideFloat {
    static constexpr int BITS = 32 * LIMBS;
    // The value is significand * 2^(exponent - BITS), the significand's top
    // bit set, so 2^(exponent - 1) <= |value| < 2^exponent; a zero's
    // significand is 0.
    FixedUnsigned<LIMBS> significand;
    std::int64_t exponent;
    bool negative;
    bool exact;
};

template <int L> bool isZero(const WideFloat<L>& a)
{
    return a.significand.word[L - 1] == 0;
}

namespace wide_float_detail {

// Wide enough for a full product, or for a sum aligned without losing a bit.
template <int L> constexpr int SPAN = 2 * L + 4;

// An unsigned integer of SPAN limbs, times 2^bottom.
template <int L> struct Wide {
    FixedUnsigned<SPAN<L>> bits;
    std::int64_t bottom = 0;
};

// w rounded to the nearest WideFloat, ties to even.
template <int L> WideFloat<L> rounded(const Wide<L>& w, bool negative, bool exact)
{
    WideFloat<L> result {};
    const std::int64_t length = bitLength(w.bits);
    if (length == 0) {
        result.exact = exact;
        return result; // zero
    }
    result.exponent = w.bottom + length;
    result.negative = negative;
    const std::int64_t low = length - WideFloat<L>::BITS; // the lowest bit kept
    if (low <= 0) { // every bit fits
        result.significand = shifted<L>(w.bits, -low);
        result.exact = exact;
        return result;
    }
    for (int i = 0; i < L; ++i) {
        result.significand.word[i] = bitsAt(w.bits, low + 32 * std::int64_t { i });
    }
    const bool half = (bitsAt(w.bits, low - 1) & 1U) != 0;
    const bool sticky = anyBelow(w.bits, low - 1);
    result.exact = exact && !half && !sticky;
    if (half && (sticky || (result.significand.word[0] & 1U) != 0)) {
        multiplyAdd(result.significand, 1, 1);
        if (result.significand.word[L - 1] == 0) { // carried out of the top: 2^BITS
            result.significand.word[L - 1] = 1U << 31;
            ++result.exponent;
        }
    }
    return result;
}

} // namespace wide_float_detail

// value * 2^power, exactly.
template <int L>
WideFloat<L> wideFromInteger(std::uint64_t value, std::int64_t power = 0, bool negative = false)
{
    WideFloat<L> result {};
    result.exact = true;
    if (value != 0) {
        const auto length = static_cast<int>(std::bit_width(value));
        const std::uint64_t top = value << (64 - length); // its top bit set
        result.significand.word[L - 1] = static_cast<std::uint32_t>(top >> 32);
        result.significand.word[L - 2] = static_cast<std::uint32_t>(top);
        result.exponent = power + length;
        result.negative = negative;
    }
    return result;
}

// value * 2^power, rounded as every result is: exact when value fits.
template <int L, int N>
WideFloat<L> wideFromFixed(const FixedUnsigned<N>& value, std::int64_t power, bool negative)
{
    static_assert(N <= wide_float_detail::SPAN<L>, "the value fits the working words");
    wide_float_detail::Wide<L> w;
    for (int i = 0; i < N; ++i) {
        w.bits.word[i] = value.word[i];
    }
    w.bottom = power;
    return wide_float_detail::rounded<L>(w, negative, true);
}

// A finite double, or the largest double's upper neighbour 2^1024 for an
// infinity (binaryParts reads its bits so), exactly.
template <int L> WideFloat<L> wideFromDouble(double value)
{
    const BinaryParts parts = binaryParts(value);
    return wideFromInteger<L>(parts.significand, parts.power, parts.negative);
}

template <int L> WideFloat<L> operator-(WideFloat<L> a)
{
    a.negative = !a.negative;
    return a;
}

template <int L> WideFloat<L> operator+(const WideFloat<L>& a, const WideFloat<L>& b)
{
    using namespace wide_float_detail;
    if (isZero(a) || isZero(b)) {
        WideFloat<L> result = isZero(b) ? a : b;
        result.exact = a.exact && b.exact;
        return result;
    }
    const WideFloat<L>& big = a.exponent >= b.exponent ? a : b;
    const WideFloat<L>& small = a.exponent >= b.exponent ? b : a;
    const std::int64_t gap = big.exponent - small.exponent;
    // Beyond this gap the smaller is below a quarter of the larger's last
    // place: the sum rounds to the larger, inexactly.
    if (gap > WideFloat<L>::BITS + 64) {
        WideFloat<L> result = big;
        result.exact = false;
        return result;
    }
    // The larger at the top, one spare limb above it; nothing falls off below.
    const std::int64_t at = 32 * std::int64_t { SPAN<L> - 1 - L };
    Wide<L> x { shifted<SPAN<L>>(big.significand, at), big.exponent - WideFloat<L>::BITS - at };
    const FixedUnsigned<SPAN<L>> y = shifted<SPAN<L>>(small.significand, at - gap);
    const bool exact = a.exact && b.exact;
    if (big.negative == small.negative) {
        add(x.bits, y);
        return rounded<L>(x, big.negative, exact);
    }
    if (compare(x.bits, y) >= 0) {
        subtract(x.bits, y);
        return rounded<L>(x, big.negative, exact);
    }
    Wide<L> difference { y, x.bottom };
    subtract(difference.bits, x.bits);
    return rounded<L>(difference, small.negative, exact);
}

template <int L> WideFloat<L> operator-(const WideFloat<L>& a, const WideFloat<L>& b)
{
    return a + -b;
}

template <int L> WideFloat<L> operator*(const WideFloat<L>& a, const WideFloat<L>& b)
{
    using namespace wide_float_detail;
    const Wide<L> full { product<SPAN<L>>(a.significand, b.significand),
        a.exponent + b.exponent - 2 * std::int64_t { WideFloat<L>::BITS } };
    // An exact zero makes the product exactly zero, whatever the other's error.
    const bool exactZero = (isZero(a) && a.exact) || (isZero(b) && b.exact);
    return rounded<L>(full, a.negative != b.negative, exactZero || (a.exact && b.exact));
}

// The top 64 bits of a's significand: |a| is within 2^-63 of itself of
// them * 2^(exponent - 64).
template <int L> std::uint64_t leadingBits(const WideFloat<L>& a)
{
    return std::uint64_t { a.significand.word[L - 1] } << 32 | a.significand.word[L - 2];
}

// |a| rounded once to the nearest double, ties to even, subnormals and
// overflow to infinity included: its top 62 bits with the rest as a sticky
// bit round as the whole does, since a double keeps at most 53 of them.
template <int L> double nearestDouble(const WideFloat<L>& a)
{
    const std::uint64_t top = leadingBits(a) >> 2;
    const bool sticky = (leadingBits(a) & 3U) != 0 || anyBelow(a.significand, WideFloat<L>::BITS - 64);
    return roundToDouble(top << 1 | (sticky ? 1U : 0U), a.exponent - 63);
}

#endif
