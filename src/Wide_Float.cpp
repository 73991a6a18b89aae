#include "Wide_Float.h"

#include "Double_Bits.h"

namespace {

constexpr int L = WideFloat::LIMBS;
// Wide enough for a full product, or for a sum aligned without losing a bit.
constexpr int SPAN = 2 * L + 4;

// An unsigned integer of SPAN limbs, times 2^bottom.
struct Wide {
    FixedUnsigned<SPAN> bits;
    std::int64_t bottom = 0;
};

// w rounded to the nearest WideFloat, ties to even.
WideFloat rounded(const Wide& w, bool negative, bool exact)
{
    WideFloat result {};
    const std::int64_t length = bitLength(w.bits);
    if (length == 0) {
        result.exact = exact;
        return result; // zero
    }
    const std::int64_t low = length - WideFloat::BITS; // the lowest bit kept
    for (int i = 0; i < L; ++i) {
        result.significand.word[i] = bitsAt(w.bits, low + 32 * std::int64_t { i });
    }
    const bool half = (bitsAt(w.bits, low - 1) & 1U) != 0;
    const bool sticky = anyBelow(w.bits, low - 1);
    result.exponent = w.bottom + length;
    result.negative = negative;
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

} // namespace

WideFloat wideFromInteger(std::uint64_t value, std::int64_t power, bool negative)
{
    Wide w;
    w.bits.word[0] = static_cast<std::uint32_t>(value);
    w.bits.word[1] = static_cast<std::uint32_t>(value >> 32);
    w.bottom = power;
    return rounded(w, negative, true);
}

WideFloat wideFromDouble(double value)
{
    const BinaryParts parts = binaryParts(value);
    return wideFromInteger(parts.significand, parts.power, parts.negative);
}

WideFloat operator+(const WideFloat& a, const WideFloat& b)
{
    if (isZero(a) || isZero(b)) {
        WideFloat result = isZero(b) ? a : b;
        result.exact = a.exact && b.exact;
        return result;
    }
    const WideFloat& big = a.exponent >= b.exponent ? a : b;
    const WideFloat& small = a.exponent >= b.exponent ? b : a;
    const std::int64_t gap = big.exponent - small.exponent;
    // Beyond this gap the smaller is below a quarter of the larger's last
    // place: the sum rounds to the larger, inexactly.
    if (gap > WideFloat::BITS + 64) {
        WideFloat result = big;
        result.exact = false;
        return result;
    }
    // The larger at the top, one spare limb above it; nothing falls off below.
    const std::int64_t at = 32 * std::int64_t { SPAN - 1 - L };
    Wide x { shifted<SPAN>(big.significand, at), big.exponent - WideFloat::BITS - at };
    const FixedUnsigned<SPAN> y = shifted<SPAN>(small.significand, at - gap);
    const bool exact = a.exact && b.exact;
    if (big.negative == small.negative) {
        add(x.bits, y);
        return rounded(x, big.negative, exact);
    }
    if (compare(x.bits, y) >= 0) {
        subtract(x.bits, y);
        return rounded(x, big.negative, exact);
    }
    Wide difference { y, x.bottom };
    subtract(difference.bits, x.bits);
    return rounded(difference, small.negative, exact);
}

WideFloat operator*(const WideFloat& a, const WideFloat& b)
{
    const Wide full { product<SPAN>(a.significand, b.significand),
        a.exponent + b.exponent - 2 * std::int64_t { WideFloat::BITS } };
    // An exact zero makes the product exactly zero, whatever the other's error.
    const bool exactZero = (isZero(a) && a.exact) || (isZero(b) && b.exact);
    return rounded(full, a.negative != b.negative, exactZero || (a.exact && b.exact));
}

DoubleDouble wideLeadingPart(const WideFloat& a)
{
    // The top two limbs sum exactly; the next two add less than 2^-64 of the
    // total, with an error below 2^-104 of it, and the rest is dropped.
    const std::uint32_t* limb = a.significand.word;
    const DoubleDouble top = twoSum(limb[L - 1] * 0x1p-32, limb[L - 2] * 0x1p-64);
    const DoubleDouble all = top + DoubleDouble { limb[L - 3] * 0x1p-96 + limb[L - 4] * 0x1p-128, 0.0 };
    return a.negative ? -all : all;
}
