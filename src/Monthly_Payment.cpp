// The fixed monthly payment of a loan, from IEEE-754's basic operations
// alone, so that every platform gives the same bits.
//
// Why it is correctly rounded, lemma by lemma. P = a r / (1 - t) is the exact
// payment, x = 1 + r, t = x^-n, X = x^|n|, W = X - 1; u = 2^-53, d = 2^-256.
// The basic operations round correctly (armel's libgcc does not, always: the
// README's platform notes). Each lemma names the table category of
// tests/payments.txt, or the test, that aims at its worst case.
//
// Double-double operations, normalized operands, mantissas in [1, 2) so that
// nothing over- or underflows (ScaledDoubleDouble):
// P1 A sum is within 3u^2 / (1 - 4u): Joldes, Muller and Popescu, ACM TOMS
//    2017, AccurateDWPlusDW. A product is within 8u^2 (proofs/dd_product.g)
//    and a quotient within 8u^2 (proofs/dd_quotient.g), proven by Gappa in
//    scripts/lint; below, a quotient is taken as 12u^2. Test:
//    DoubleDouble.EachOperationKeepsItsStatedBound, extremes and cancelling
//    sums among its operands. Second-order terms are below 2^-70 of every
//    bound below and are left out.
//
// The fast path, for a finite rate above -100% with |r| >= 2^-150, a finite
// nonzero amount and n != 0 (ratePerDiscount, fastError):
// P2 x = 1 + r is exact (TwoSum). "tiny-rate", r near 2^-150.
// P3 x^k by squaring is within (k - 1) 8u^2: a product adds its factors'
//    errors and 8u^2, and k - 1 products make x^k, however grouped.
//    "tiny-rate" and "farther-midpoint", terms to 2^31 - 1.
// P4 For |n r| >= 2^-10, |t / (1 - t)| <= 1025: for r > 0 and n > 0,
//    x^n - 1 >= n r >= 2^-10 (Bernoulli's inequality), and the other three
//    signs follow the same way from (1 + s)^m - 1 >= m s and
//    1 - (1 - s)^m >= m s / (1 + m s). So 1 - t, a sum, is within
//    1025 e + 3u^2 for t within e. "method-switch", n r at 2^-10.
// P5 Past 2^200 either way the discount 1 - t is taken as -t or 1, within
//    2^-199. "shortcut", x^n at 2^+-200.
// P6 With P3 and P4, t = 1 / x^n (a quotient more for n > 0), r / (1 - t)
//    and the amount's product: 1025 ((|n| - 1) 8u^2 + 12u^2) + 3u^2 + 20u^2
//    <= 8200 (|n| + 1) u^2, below (|n| + 1) 2^-92.99.
// P7 For |n r| < 2^-10, U = x^|n| - 1 is built by U_(a+b) = U_a + U_b +
//    U_a U_b. The terms share a sign but for U_a U_b, below 2^-9.9 of the
//    sum, so a step's condition numbers add up to at most 1.003 and its
//    roundings to 6.1u^2; at most 64 steps lie on any path, so U is within
//    64 (6.1u^2) 1.003^64 < 477u^2. The discount U / (1 + U), or -U, the
//    rate's product and the quotient add at most 24u^2, the amount 8u^2:
//    below 510u^2. "small-rate", terms of 1 to 10^6.
// P8 fastError's (|n| + 2) 2^-92 is above P5, P6 and P7 by a factor of about
//    two, which covers the terms left out. roundOnce calls a value certain
//    only when every value within that error rounds to the same double.
//    "near-midpoint", "farther-midpoint", payments 2^-106 to 2^-75 from a
//    midpoint.
//
// The tiny-rate path, 0 < |r| < 2^-150 (tinyRatePayment):
// P9 With n r that small, P = (a / n) (1 + e) with e = (n + 1) r / 2 to
//    within 2^-116, of the sign of (n + 1) r. A normal a / n is never a
//    midpoint (that needs 54 significant bits, a has 53) nor within 2^-85 of
//    one (it differs from one by at least 2^-54 / n of itself), so one
//    division rounds it right. A subnormal a / n can be a midpoint, a = M 2^e
//    and n = N 2^j with N dividing M and e - j = -1075; P then lies just past
//    it on e's side. An amount with power > -1011 is at least 2^-958, so
//    |a / n| >= 2^-989 is normal for |n| <= 2^31. "tiny-rate", "reported".
//
// The 256-bit path (wideGrowth, approximatePayment, decide):
// P10 X and W are within 2^-220 for |n| <= 2^31, each operation within d:
//    the pair for a + b months is (X_a X_b, W_a + W_b + W_a W_b). X adds its
//    factors' errors and d, so X_n is within (2n - 1) d. For s = r > 0 every
//    term of W is positive, and a pair costs two roundings more: 3n d. For
//    -1 < r < 0, W is in (-1, 0), the sum's condition numbers add up to at
//    most 1 and its terms to at most twice it: 4d a pair, 256d along at most
//    64 pairs. Below -100%, x^n = +-y^n with y = -1 - r, computed alike, and
//    W = -(y^n + 1) for odd n adds one rounding without cancelling. That is
//    2^-222.4 at n = 2^31. "below-minus-100", "large-power-tie", terms to
//    2^31.
// P11 approximatePayment is within 2^-100: a r is exact (Dekker's product),
//    the leading doubles of X and W are within 2^-104 each, the product and
//    the quotient add 8u^2 and 12u^2: 2^-103 (1/2 + 1/2 + 1 + 3/2) <
//    2^-101.1. "below-minus-100".
// P12 decide: P - m has the sign of D / W for n > 0 and of -D / W for n < 0,
//    D = a r X - m W or a r + m W, which `difference` writes as two summands.
//    X and W within 2^-220, a r and m exact and a r - m within d, so a
//    product of them and at most one of X and W is within 2^-219 of itself,
//    and a sum adds d of its own size: each summand is within 2^(scale - 218),
//    scale the exponent of its largest inexact piece, and D within
//    2^(S - 217) + d |D| for S the larger. Its sign is certain once |D|
//    reaches 2^(S - 210). When both summands are exact, the rounded sum has D's
//    own sign, and 0 is a tie. "midpoint", "near-midpoint".
// P13 A tie needs X within 54 significant bits and W within 106, so
//    2^-107 < |X| < 2^107; every power, product and sum leading to D is then
//    exact in 256 bits, in each of difference's arrangements. "midpoint",
//    "edge-tie".
// P14 Past 2^+-200, P = a r (1 + e) (|t| small) or -a r x^n (1 + e) (|t|
//    large), |e| < 2^-199: the arrangement leaves e in a summand of its own.
//    If the leading term is m, the summand before it is exactly 0 and D is the
//    rest, of known sign. If a r is not m, it is at least 2^-107 of m away (a
//    r has at most 106 significant bits, m 54), far beyond the rest. If
//    -a r x^n is m, X's odd factor divides m's (n > 0) or a r's (n < 0), so X
//    has at most 106 significant bits and every summand is exact. If it is not
//    m, a summand is inexact unless X is exact, and no proof bounds how near m
//    it lies: the open case below. "large-power-tie", "small-power-tie",
//    "large-power-near-tie".
// Open: a payment within about 2^-208 of a midpoint, not on it, whose summands
// are not exact. No proof excludes it; none has been found (the reference
// table's loans, and fuzz/payment_fuzzer.cpp against MPFR in every CI run).
// An assertion stops debug, sanitizer and fuzz builds there.
#include "Monthly_Payment.h"

#include "Scaled_Double_Double.h"
#include "Wide_Float.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();
constexpr ScaledDoubleDouble ONE = scaled(1.0);

// `base` combined with itself `count` times, by repeated squaring: the power
// for a product, and fewer roundings than one step a month.
template <typename Value, typename Combine>
Value repeated(Value identity, Value base, std::uint64_t count, Combine combine)
{
    Value result = identity;
    for (; count != 0; count >>= 1) {
        if ((count & 1U) != 0) {
            result = combine(result, base);
        }
        if (count > 1) {
            base = combine(base, base);
        }
    }
    return result;
}

ScaledDoubleDouble raised(ScaledDoubleDouble base, std::uint64_t count)
{
    return repeated(ONE, base, count, [](ScaledDoubleDouble a, ScaledDoubleDouble b) { return a * b; });
}

// (1 + r)^count - 1, kept in that form so that nothing cancels when it is
// small: (1 + r)^(a + b) - 1 = u + v + u * v for u and v those of a and b.
DoubleDouble growthMinusOne(double rate, std::uint64_t count)
{
    return repeated(DoubleDouble { 0.0, 0.0 }, DoubleDouble { rate, 0.0 }, count,
        [](DoubleDouble u, DoubleDouble v) { return u + v + u * v; });
}

std::uint64_t magnitude(int months)
{
    return static_cast<std::uint64_t>(months < 0 ? -static_cast<std::int64_t>(months) : months);
}

// r / (1 - (1 + r)^-n), for a finite rate r above -100% and n not 0.
ScaledDoubleDouble ratePerDiscount(double rate, int months)
{
    const std::uint64_t count = magnitude(months);
    const ScaledDoubleDouble r = scaled(rate);
    // Here (1 + r)^-n is within about n * r of 1, and 1 minus it would lose
    // most of its digits: work with u = (1 + r)^|n| - 1 instead. The discount
    // is then u / (1 + u) for n > 0, and -u for n < 0.
    const double spread = static_cast<double>(months) * rate;
    if (absolute(spread) < 0x1p-10) {
        const DoubleDouble u = growthMinusOne(rate, count);
        return months > 0 ? r * scaled(DoubleDouble { 1.0, 0.0 } + u) / scaled(u) : -(r / scaled(u));
    }
    ScaledDoubleDouble power = raised(scaled(twoSum(1.0, rate)), count);
    if (months > 0) {
        power = ONE / power;
    }
    // 1 - (1 + r)^-n. Past 2^200 either way, the smaller side is lost below
    // the last digit of the larger.
    if (power.exponent > 200) {
        return r / -power;
    }
    if (power.exponent < -200) {
        return r;
    }
    const DoubleDouble plain { timesPowerOfTwo(power.mantissa.hi, power.exponent),
        timesPowerOfTwo(power.mantissa.lo, power.exponent) };
    return r / scaled(DoubleDouble { 1.0, 0.0 } - plain);
}

// base^n as pow gives it for a whole n, for what the formula leaves to it: a
// base of 0 or below, infinite or not a number, or n = 0.
double raisedTo(double base, int n)
{
    if (n == 0) {
        return 1.0;
    }
    const std::uint64_t count = magnitude(n);
    const double size = absolute(base);
    double result = size; // not a number stays so
    if (size == 0.0 || size == INFINITE) {
        result = (size == 0.0) == (n > 0) ? 0.0 : INFINITE;
    } else if (!std::isnan(size)) {
        const ScaledDoubleDouble power = raised(scaled(size), count);
        result = toDouble(n > 0 ? power : ONE / power);
    }
    return base < 0 && (count & 1U) != 0 ? -result : result;
}

// The correctly rounded double of a value known to within a relative error:
// `nearest` is v's own nearest double; `certain` says that every value within
// the error rounds to it too. Otherwise the midpoint between two doubles that
// v lies close to is midpoint * 2^(grid - 1), midpoint odd, and the doubles
// either side of it are (midpoint -+ 1) / 2 * 2^grid, with v's sign.
struct Rounded {
    double nearest;
    bool certain;
    std::uint64_t midpoint;
    std::int64_t grid;
    bool negative;
};

// Rounds (hi + lo) * 2^exponent once, on the grid of its own binade or of the
// subnormals, with overflow to infinity: the grid's unit is 2^grid, and t is v
// in that unit, below 2^53, whose fraction decides.
Rounded roundOnce(ScaledDoubleDouble v, double relativeError)
{
    double hi = v.mantissa.hi;
    double lo = v.mantissa.lo;
    const bool negative = hi < 0.0;
    const double sign = negative ? -1.0 : 1.0;
    if (negative) {
        hi = -hi;
        lo = -lo;
    }
    std::int64_t exponent = v.exponent;
    if (hi == 1.0 && lo < 0.0) { // just below a power of two: the finer grid
        hi = 2.0;
        lo *= 2.0;
        --exponent;
    }
    if (hi == 0.0 || exponent >= 1024 || exponent < -1076) {
        // Zero, past the largest double, or below a quarter of the least
        // subnormal: no error below 2^-3 can change it.
        return { hi == 0.0 || exponent < 0 ? sign * 0.0 : sign * INFINITE, true, 0, 0, negative };
    }
    const std::int64_t grid = gridUnit(exponent);
    const double unit = timesPowerOfTwo(1.0, exponent - grid);
    const double tHi = hi * unit;
    const double tLo = lo * unit;
    double whole = tHi < 0x1p52 ? (tHi + 0x1p52) - 0x1p52 : tHi; // nearest integer
    double fraction = (tHi - whole) + tLo; // within 2^-52 of the true t - whole
    if (fraction > 0.5) {
        whole += 1.0;
        fraction -= 1.0;
    } else if (fraction < -0.5) {
        whole -= 1.0;
        fraction += 1.0;
    }
    // How far the true t may lie from the computed one: the value's error,
    // and the rounding of the fraction just above.
    const double margin = relativeError * tHi * (1.0 + 0x1p-50) + 0x1p-51;
    const bool certain = margin < 0.125 && 0.5 - absolute(fraction) > margin;
    const auto count = static_cast<std::uint64_t>(whole);
    return { sign * roundToDouble(count, grid), certain, fraction < 0.0 ? 2 * count - 1 : 2 * count + 1, grid,
        negative };
}

// x^count and x^count - 1, within 2^-220 (P10).
struct WideGrowth {
    WideFloat power;
    WideFloat less; // power - 1
};

WideGrowth widePowers(const WideFloat& s, std::uint64_t count)
{
    const WideFloat one = wideFromInteger(1);
    return repeated(WideGrowth { one, wideFromInteger(0) }, WideGrowth { one + s, s }, count,
        [](const WideGrowth& a, const WideGrowth& b) {
            return WideGrowth { a.power * b.power, (a.less + b.less) + a.less * b.less };
        });
}

// x^count and x^count - 1 for x = 1 + rate, finite and not 0.
WideGrowth wideGrowth(double rate, std::uint64_t count)
{
    const WideFloat r = wideFromDouble(rate);
    if (rate > -1.0) {
        return widePowers(r, count);
    }
    // x < 0: x^count is +-y^count for y = -x = 1 + (-2 - r).
    const WideGrowth y = widePowers(wideFromInteger(2, 0, true) - r, count);
    if ((count & 1U) == 0) {
        return y;
    }
    return { -y.power, -(y.power + wideFromInteger(1)) };
}

ScaledDoubleDouble toScaled(const WideFloat& x)
{
    return isZero(x) ? scaled(0.0) : scaled(wideLeadingPart(x), x.exponent);
}

// The payment within 2^-100 (P11): a r X / W for n > 0, -a r / W for n < 0.
ScaledDoubleDouble approximatePayment(double amount, double rate, int months, const WideGrowth& growth)
{
    const ScaledDoubleDouble ar = scaled(amount) * scaled(rate);
    return months > 0 ? ar * toScaled(growth.power) / toScaled(growth.less) : -(ar / toScaled(growth.less));
}

// A summand of D, with its error below 2^(scale - 218), or scale EXACT when it
// has none (P12).
constexpr std::int64_t EXACT = std::numeric_limits<std::int64_t>::min();

struct Summand {
    WideFloat value;
    std::int64_t scale;
};

std::int64_t exponentOf(const WideFloat& v)
{
    return isZero(v) ? EXACT : v.exponent;
}

// `value`, computed from `inner`, the largest piece whose error it carries.
Summand summand(const WideFloat& value, const WideFloat& inner)
{
    return { value, value.exact ? EXACT : std::max(exponentOf(value), exponentOf(inner)) };
}

Summand summand(const WideFloat& value)
{
    return summand(value, value);
}

// D, whose sign is that of P - m times W's (flipped for n < 0), as two summands
// arranged so that what cancels is exact wherever it can be:
//   n > 0 (D = a r X - m W):   |W| < 1/2   a r + (a r - m) W
//                              |X| >= 2    (a r - m) X + m
//                              |X| < 1/2   (a r X + m) - m X
//                              otherwise   a r X - m W
//   n < 0 (D = a r + m W):     |X| >= 2    (a r + m X) - m
//                              |X| < 1/2   (a r - m) + m X
//                              otherwise   a r + m W
// Past 2^+-200 the leading term has a summand of its own (P14).
struct Difference {
    Summand first;
    Summand second;
};

Difference difference(const WideFloat& ar, const WideFloat& m, int months, const WideGrowth& growth)
{
    const WideFloat& x = growth.power;
    const WideFloat& w = growth.less;
    const bool huge = x.exponent >= 2; // |X| >= 2
    const bool tiny = x.exponent <= -1; // |X| < 1/2
    if (months > 0) {
        if (w.exponent <= -1) {
            return { summand(ar), summand((ar - m) * w) };
        }
        if (huge) {
            return { summand((ar - m) * x), summand(m) };
        }
        const WideFloat arx = ar * x;
        if (tiny) {
            return { summand(arx + m, arx), summand(-(m * x)) };
        }
        return { summand(arx), summand(-(m * w)) };
    }
    if (huge) {
        const WideFloat mx = m * x;
        return { summand(ar + mx, mx), summand(-m) };
    }
    if (tiny) {
        return { summand(ar - m), summand(m * x) };
    }
    return { summand(ar), summand(m * w) };
}

// Which of the two doubles beside guess's midpoint m the exact payment P is
// nearer, from the sign of D (P12-P14). What is left undecided stops builds
// that keep assertions; an optimised build keeps the guess's nearest double.
double decide(double amount, double rate, int months, const WideGrowth& growth, const Rounded& guess)
{
    const WideFloat ar = wideFromDouble(amount) * wideFromDouble(rate);
    const WideFloat m = wideFromInteger(guess.midpoint, guess.grid - 1, guess.negative);
    const Difference sum = difference(ar, m, months, growth);
    const WideFloat d = sum.first.value + sum.second.value;
    const std::int64_t scale = std::max(sum.first.scale, sum.second.scale);
    const bool certain = scale == EXACT || (!isZero(d) && d.exponent > scale - 210);
    assert(certain && "a payment too close to a midpoint to decide in 256 bits");
    if (!certain) {
        return guess.nearest;
    }
    const std::uint64_t below = guess.midpoint >> 1; // the neighbours, in units of 2^grid
    const double lower = roundToDouble(below, guess.grid);
    const double upper = roundToDouble(below + 1, guess.grid);
    double size = lower;
    if (isZero(d)) {
        size = (below & 1U) == 0 ? lower : upper;
    } else {
        // P - m has D's sign, times W's, and flipped for n < 0.
        const bool above = d.negative == growth.less.negative ? months > 0 : months < 0;
        size = above != guess.negative ? upper : lower;
    }
    return guess.negative ? -size : size;
}

// The fast path's relative error bound (P2-P8).
double fastError(int months)
{
    return (static_cast<double>(magnitude(months)) + 2.0) * 0x1p-92;
}

// The payment for 0 < |r| < 2^-150 (P9).
double tinyRatePayment(double amount, double rate, int months)
{
    const double quotient = amount / static_cast<double>(months);
    const BinaryParts parts = binaryParts(amount);
    if (amount == 0.0 || months == -1 || parts.power > -1011) {
        return quotient; // a zero, -a exactly, or a quotient above the subnormals
    }
    std::uint64_t odd = parts.significand;
    std::int64_t power = parts.power;
    std::uint64_t divisor = magnitude(months);
    for (; (odd & 1U) == 0; odd >>= 1) {
        ++power;
    }
    for (; (divisor & 1U) == 0; divisor >>= 1) {
        --power;
    }
    if (power != -1075 || odd % divisor != 0) {
        return quotient;
    }
    const std::uint64_t half = odd / divisor; // |a / n| = half * 2^-1075, half odd
    const bool away = ((static_cast<std::int64_t>(months) + 1) > 0) == (rate > 0.0);
    const double size = timesPowerOfTwo(static_cast<double>(away ? half / 2 + 1 : half / 2), -1074);
    return (amount < 0.0) != (months < 0) ? -size : size; // quotient may be a zero, signed or not
}

} // namespace

double computeMonthlyPayment(double amount, double monthlyRate, int months)
{
    const bool finiteAmount = amount - amount == 0.0;
    if (monthlyRate == 0.0) {
        return amount / static_cast<double>(months); // the limit as the rate goes to 0
    }
    if (months != 0 && absolute(monthlyRate) < 0x1p-150) {
        return tinyRatePayment(amount, monthlyRate, months);
    }
    if (monthlyRate > -1.0 && monthlyRate < INFINITE && months != 0) {
        if (amount == 0.0 || !finiteAmount) {
            return amount * (months < 0 ? -1.0 : 1.0); // only the sign of r / (1 - x^-n) counts
        }
        const ScaledDoubleDouble fast = scaled(amount) * ratePerDiscount(monthlyRate, months);
        const Rounded guess = roundOnce(fast, fastError(months));
        if (guess.certain) {
            return guess.nearest;
        }
        return decide(amount, monthlyRate, months, wideGrowth(monthlyRate, magnitude(months)), guess);
    }
    if (monthlyRate == -1.0 && months < 0 && finiteAmount) {
        return -amount; // (1 + r)^-n is 0: a r / 1
    }
    // Below -100% the base is negative; its powers are finite and the payment
    // is too, unless x^n = 1 (r = -200%, n even).
    if (monthlyRate < -1.0 && monthlyRate > -INFINITE && months != 0 && finiteAmount
        && !(monthlyRate == -2.0 && months % 2 == 0)) {
        const WideGrowth growth = wideGrowth(monthlyRate, magnitude(months));
        if (amount == 0.0) { // a zero with the sign of r X / W, or of -r / W
            const bool flip
                = months > 0 ? growth.power.negative != growth.less.negative : !growth.less.negative;
            return amount * monthlyRate * (flip ? -1.0 : 1.0);
        }
        const ScaledDoubleDouble approximate = approximatePayment(amount, monthlyRate, months, growth);
        const Rounded guess = roundOnce(approximate, 0x1p-100);
        return guess.certain ? guess.nearest : decide(amount, monthlyRate, months, growth, guess);
    }
    // An infinite rate makes (1 + r)^-n zero or infinite: the discount is 1,
    // or -inf, which leaves no number.
    if (monthlyRate == INFINITE && months != 0) {
        return months > 0 ? amount * monthlyRate : std::numeric_limits<double>::quiet_NaN();
    }
    // The rest has no finite answer: take the formula as it stands.
    const double growth = raisedTo(1.0 + monthlyRate, months);
    return (amount * monthlyRate) * (growth / (growth - 1.0));
}
