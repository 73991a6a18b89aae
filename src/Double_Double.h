// Arithmetic in about 106 bits from IEEE-754 doubles, with nothing but the
// basic operations, which every conforming CPU and compiler rounds the same
// way. A maths library's functions differ between platforms in their last
// bit; these do not.
//
// Error bounds are relative to the exact result of the operation on its
// operands, u = 2^-53, for normalized operands (|lo| at most half an ulp of
// hi) whose products neither overflow (past about 2^996, in split) nor fall
// below about 2^-969, where the error term of twoProduct is lost among the
// subnormals. ScaledDoubleDouble keeps its mantissas near 1 for that reason.
//
// The error-free transformations below are exact only if every product and
// sum is rounded on its own: build with floating-point contraction off, or a
// fused multiply-add will silently break them.
#ifndef DOUBLE_DOUBLE_H
#define DOUBLE_DOUBLE_H

#include <bit>
#include <cfloat>
#include <cstdint>

// Each operation must round to double on its own: not in wider registers
// (x87 without SSE2), and not under -ffast-math's licence to reassociate.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "doubles must be rounded as doubles (FLT_EVAL_METHOD 0): on 32-bit x86, -msse2 -mfpmath=sse"
#endif
#ifdef __FAST_MATH__
#error "-ffast-math breaks the error-free transformations: build without it"
#endif

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

// The unevaluated sum hi + lo, with |lo| at most half an ulp of hi.
struct DoubleDouble {
    double hi;
    double lo;
};

// a + b exactly: Knuth's TwoSum (Moller's algorithm), six operations.
constexpr DoubleDouble twoSum(double a, double b)
{
    const double sum = a + b;
    const double bPart = sum - a;
    return { sum, (a - (sum - bPart)) + (b - bPart) };
}

// a + b exactly, when |a| >= |b| or a is 0: Dekker's Fast2Sum.
constexpr DoubleDouble quickTwoSum(double a, double b)
{
    const double sum = a + b;
    return { sum, b - (sum - a) };
}

// a as the sum of two halves of at most 26 significant bits each
// (Veltkamp's split, as Dekker uses it). 134217729 * a overflows past about
// 2^996.
constexpr DoubleDouble split(double a)
{
    const double spread = 134217729.0 * a; // 2^27 + 1
    const double high = spread - (spread - a);
    return { high, a - high };
}

// a * b exactly, when the product neither overflows nor underflows: Dekker's
// TwoProduct (Mul12). Below about 2^-969 its error term falls under the
// subnormals and is lost.
constexpr DoubleDouble twoProduct(double a, double b)
{
    const double product = a * b;
    const DoubleDouble x = split(a);
    const DoubleDouble y = split(b);
    return { product, ((x.hi * y.hi - product) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo };
}

constexpr DoubleDouble operator-(DoubleDouble a)
{
    return { -a.hi, -a.lo };
}

// The accurate sum (AccurateDWPlusDW of Joldes, Muller and Popescu, ACM TOMS
// 2017; the QD library's ieee_add): within 3u^2 / (1 - 4u), as they prove, in
// Coq too.
constexpr DoubleDouble operator+(DoubleDouble a, DoubleDouble b)
{
    const DoubleDouble high = twoSum(a.hi, b.hi);
    const DoubleDouble low = twoSum(a.lo, b.lo);
    const DoubleDouble partial = quickTwoSum(high.hi, high.lo + low.hi);
    return quickTwoSum(partial.hi, partial.lo + low.lo);
}

constexpr DoubleDouble operator-(DoubleDouble a, DoubleDouble b)
{
    return a + -b;
}

// The product with hi * hi exact, the cross terms rounded and lo * lo
// dropped (the QD library's dd_real product): within 8u^2 of the exact
// product, for normalized operands, as Gappa proves in proofs/dd_product.g
// (scripts/lint runs it).
constexpr DoubleDouble operator*(DoubleDouble a, DoubleDouble b)
{
    const DoubleDouble product = twoProduct(a.hi, b.hi);
    return quickTwoSum(product.hi, product.lo + (a.hi * b.lo + a.lo * b.hi));
}

// Long division, one double of quotient at a time (the QD library's
// accurate_div): within 8u^2 of the exact quotient, for normalized operands,
// as Gappa proves in proofs/dd_quotient.g from the sum's bound above.
constexpr DoubleDouble operator/(DoubleDouble a, DoubleDouble b)
{
    const double first = a.hi / b.hi;
    const DoubleDouble rest = a - b * DoubleDouble { first, 0.0 };
    const double second = rest.hi / b.hi;
    const double third = (rest - b * DoubleDouble { second, 0.0 }).hi / b.hi;
    return quickTwoSum(first, second) + DoubleDouble { third, 0.0 };
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

// A double-double with an exponent of its own, (hi + lo) * 2^exponent with
// 1 <= |hi| < 2 or hi == 0, so that no result over- or underflows until it
// is turned back into a double.
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
