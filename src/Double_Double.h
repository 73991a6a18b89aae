// Arithmetic in about 106 bits from IEEE-754 doubles, with nothing but the
// basic operations, which every conforming CPU and compiler rounds the same
// way. A maths library's functions differ between platforms in their last
// bit; these do not.
//
// Error bounds are relative to the exact result of the operation on its
// operands, u = 2^-53, for normalized operands (|lo| at most half an ulp of
// hi) whose products neither overflow (past about 2^996, in split) nor fall
// below about 2^-969, where the error term of twoProduct is lost among the
// subnormals (Scaled_Double_Double.h keeps its mantissas near 1 for that).
//
// The error-free transformations below are exact only if every product and
// sum is rounded on its own: build with floating-point contraction off, or a
// fused multiply-add will silently break them.
#ifndef DOUBLE_DOUBLE_H
#define DOUBLE_DOUBLE_H

#include <cfloat>

// Each operation must round to double on its own: not in wider registers
// (x87 without SSE2), and not under -ffast-math's licence to reassociate.
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD != 0
#error "doubles must be rounded as doubles (FLT_EVAL_METHOD 0): on 32-bit x86, -msse2 -mfpmath=sse"
#endif
#ifdef __FAST_MATH__
#error "-ffast-math breaks the error-free transformations: build without it"
#endif

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

#endif
