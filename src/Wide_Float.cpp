#include "Wide_Float.h"

#include <bit>

namespace {

constexpr int L = WideFloat::LIMBS;
// Wide enough for a full product, or for a sum aligned without losing a bit.
constexpr int SPAN = 2 * L + 4;

// An unsigned integer of SPAN limbs, times 2^bottom.
struct Wide {
    std::uint32_t limb[SPAN] = {};
    std::int64_t bottom = 0;
};

// The 32 bits of `w` starting at bit `at`, zeros outside it.
std::uint32_t bitsAt(const Wide& w, std::int64_t at)
{
    const auto word = [&w](std::int64_t index) -> std::uint64_t {
        return index >= 0 && index < SPAN ? w.limb[index] : 0;
    };
    const std::int64_t index = at >= 0 ? at / 32 : (at - 31) / 32;
    const auto shift = static_cast<int>(at - 32 * index);
    const std::uint64_t pair = word(index) | (word(index + 1) << 32);
    return static_cast<std::uint32_t>(pair >> shift);
}

// Whether any of w's bits below `at` is set.
bool anyBelow(const Wide& w, std::int64_t at)
{
    for (int i = 0; i < SPAN && 32 * static_cast<std::int64_t>(i) < at; ++i) {
        const std::int64_t keep = at - 32 * static_cast<std::int64_t>(i);
        const std::uint32_t mask = keep >= 32 ? ~0U : (1U << keep) - 1U;
        if ((w.limb[i] & mask) != 0) {
            return true;
        }
    }
    return false;
}

// w rounded to the nearest WideFloat, ties to even.
WideFloat rounded(const Wide& w, bool negative, bool exact)
{
    WideFloat result {};
    int high = SPAN - 1;
    while (high >= 0 && w.limb[high] == 0) {
        --high;
    }
    if (high < 0) {
        result.exact = exact;
        return result; // zero
    }
    const std::int64_t lead
        = 32 * static_cast<std::int64_t>(high) + static_cast<int>(std::bit_width(w.limb[high])) - 1;
    const std::int64_t low = lead + 1 - WideFloat::BITS; // the lowest bit kept
    for (int i = 0; i < L; ++i) {
        result.limb[i] = bitsAt(w, low + 32 * static_cast<std::int64_t>(i));
    }
    const bool half = (bitsAt(w, low - 1) & 1U) != 0;
    const bool sticky = anyBelow(w, low - 1);
    result.exponent = w.bottom + lead + 1;
    result.negative = negative;
    result.exact = exact && !half && !sticky;
    if (half && (sticky || (result.limb[0] & 1U) != 0)) {
        int i = 0;
        while (i < L && ++result.limb[i] == 0) {
            ++i;
        }
        if (i == L) { // carried out of the top: 2^BITS
            result.limb[L - 1] = 1U << 31;
            ++result.exponent;
        }
    }
    return result;
}

// Adds `a`'s significand into w at bit `at` (at >= 0).
void place(Wide& w, const WideFloat& a, std::int64_t at)
{
    for (int i = 0; i < L; ++i) {
        const std::int64_t bit = at + 32 * static_cast<std::int64_t>(i);
        const auto index = static_cast<int>(bit / 32);
        const auto shift = static_cast<int>(bit % 32);
        const std::uint64_t part = static_cast<std::uint64_t>(a.limb[i]) << shift;
        w.limb[index] |= static_cast<std::uint32_t>(part);
        if (index + 1 < SPAN) {
            w.limb[index + 1] |= static_cast<std::uint32_t>(part >> 32);
        }
    }
}

// x >= y as integers of SPAN limbs.
bool notLess(const Wide& x, const Wide& y)
{
    for (int i = SPAN - 1; i >= 0; --i) {
        if (x.limb[i] != y.limb[i]) {
            return x.limb[i] > y.limb[i];
        }
    }
    return true;
}

} // namespace

WideFloat wideFromInteger(std::uint64_t value, std::int64_t power, bool negative)
{
    Wide w;
    w.limb[0] = static_cast<std::uint32_t>(value);
    w.limb[1] = static_cast<std::uint32_t>(value >> 32);
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
    Wide x;
    Wide y;
    const std::int64_t at = 32 * static_cast<std::int64_t>(SPAN - 1 - L);
    place(x, big, at);
    place(y, small, at - gap);
    x.bottom = big.exponent - WideFloat::BITS - at;
    y.bottom = x.bottom;
    const bool exact = a.exact && b.exact;
    if (big.negative == small.negative) {
        std::uint64_t carry = 0;
        for (int i = 0; i < SPAN; ++i) {
            const std::uint64_t sum = std::uint64_t { x.limb[i] } + y.limb[i] + carry;
            x.limb[i] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        return rounded(x, big.negative, exact);
    }
    const bool bigWins = notLess(x, y);
    const Wide& from = bigWins ? x : y;
    const Wide& take = bigWins ? y : x;
    Wide difference;
    difference.bottom = x.bottom;
    std::int64_t borrow = 0;
    for (int i = 0; i < SPAN; ++i) {
        const std::int64_t part = std::int64_t { from.limb[i] } - take.limb[i] - borrow;
        difference.limb[i] = static_cast<std::uint32_t>(part);
        borrow = part < 0 ? 1 : 0;
    }
    return rounded(difference, bigWins ? big.negative : small.negative, exact);
}

WideFloat operator*(const WideFloat& a, const WideFloat& b)
{
    Wide product;
    if (!isZero(a) && !isZero(b)) {
        for (int i = 0; i < L; ++i) {
            std::uint64_t carry = 0;
            for (int j = 0; j < L; ++j) {
                const std::uint64_t part
                    = std::uint64_t { a.limb[i] } * b.limb[j] + product.limb[i + j] + carry;
                product.limb[i + j] = static_cast<std::uint32_t>(part);
                carry = part >> 32;
            }
            product.limb[i + L] = static_cast<std::uint32_t>(carry);
        }
    }
    product.bottom = a.exponent + b.exponent - 2 * std::int64_t { WideFloat::BITS };
    // An exact zero makes the product exactly zero, whatever the other's error.
    const bool exactZero = (isZero(a) && a.exact) || (isZero(b) && b.exact);
    return rounded(product, a.negative != b.negative, exactZero || (a.exact && b.exact));
}

DoubleDouble wideLeadingPart(const WideFloat& a)
{
    // The top two limbs sum exactly; the next two add less than 2^-64 of the
    // total, with an error below 2^-104 of it, and the rest is dropped.
    const DoubleDouble top = twoSum(a.limb[L - 1] * 0x1p-32, a.limb[L - 2] * 0x1p-64);
    const DoubleDouble all = top + DoubleDouble { a.limb[L - 3] * 0x1p-96 + a.limb[L - 4] * 0x1p-128, 0.0 };
    return a.negative ? -all : all;
}
