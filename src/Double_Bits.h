// A double's binary form: its parts, exact scaling by powers of two, and
// the one rounding of an exact binary value to the doubles' grid, which the
// reader and the payment share. Internal; not installed.
#ifndef DOUBLE_BITS_H
#define DOUBLE_BITS_H

#include <bit>
#include <cstdint>

// |x|, NaN kept, with no library call.
constexpr double absolute(double x)
{
    return x < 0.0 ? -x : x;
}

// A finite double as significand * 2^power exactly, the significand below
// 2^53 (subnormals included), with its sign apart.
struct BinaryParts {
    std::uint64_t significand;
    std::int64_t power;
    bool negative;
};

constexpr BinaryParts binaryParts(double x)
{
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto biased = static_cast<std::int64_t>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t { 1 } << 52) - 1);
    return { biased != 0 ? fraction | (std::uint64_t { 1 } << 52) : fraction,
        (biased != 0 ? biased : 1) - 1075, (bits >> 63) != 0 };
}

// x * 2^power, exact unless the result overflows or is subnormal.
constexpr double timesPowerOfTwo(double x, std::int64_t power)
{
    for (; power > 1000 && x != 0.0; power -= 1000) {
        x *= 0x1p1000;
    }
    for (; power < -1000 && x != 0.0; power += 1000) {
        x *= 0x1p-1000;
    }
    if (power > 1000 || power < -1000) {
        return x; // a zero, whatever the power
    }
    return x * std::bit_cast<double>(static_cast<std::uint64_t>(power + 1023) << 52);
}

// The unit of the doubles' grid among values in [2^top, 2^(top + 1)): the
// last bit of a normal double there, or the subnormals' 2^-1074.
constexpr std::int64_t gridUnit(std::int64_t top)
{
    return top - 52 > -1074 ? top - 52 : -1074;
}

// m * 2^e rounded to the nearest double, ties to even, for m < 2^63: one
// rounding, to the subnormals' coarser grid too, and infinity past the
// largest double.
constexpr double roundToDouble(std::uint64_t m, std::int64_t e)
{
    if (m == 0) {
        return 0.0;
    }
    const std::int64_t top = static_cast<int>(std::bit_width(m)) - 1 + e; // 2^top <= m * 2^e < 2^(top + 1)
    if (top >= 1024) {
        return std::bit_cast<double>(std::uint64_t { 0x7ff } << 52);
    }
    if (top < -1075) {
        return 0.0; // below half the least subnormal
    }
    const std::int64_t last = gridUnit(top); // the result's last bit
    const std::int64_t dropped = last - e; // at most 63, by the bound on top
    std::uint64_t kept = m;
    if (dropped <= 0) {
        kept <<= -dropped;
    } else {
        kept >>= dropped;
        const std::uint64_t rest = m & ((std::uint64_t { 1 } << dropped) - 1);
        const std::uint64_t half = std::uint64_t { 1 } << (dropped - 1);
        if (rest > half || (rest == half && (kept & 1U) != 0)) {
            ++kept;
        }
    }
    // kept < 2^53 is the significand with its leading bit, so adding it to
    // the exponent field one below its own carries into place; a subnormal
    // has last = -1074 and a field of 0. A carry to 2^53 steps the exponent,
    // up to infinity's bits.
    return std::bit_cast<double>((static_cast<std::uint64_t>(last + 1074) << 52) + kept);
}

#endif
