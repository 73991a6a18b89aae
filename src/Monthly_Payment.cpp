// The fixed monthly payment of a loan, decided in integer arithmetic, so that
// every platform gives the same bits whatever its floating point: doubles
// compute only the formula where it has no finite value.
//
// Why it is correctly rounded, lemma by lemma. P = a r / (1 - x^-n) is the
// exact payment for doubles a and r and an int n != 0, x = 1 + r, X = x^|n|
// and W = X - 1, so that P = a r X / W for n > 0 and P = -a r / W for n < 0.
// A rung computes at w = 32 * LIMBS bits, d = 2^-w, in WideFloat<LIMBS>;
// w is 128, 256, 512, 1024 or 2048. Each lemma names the table category of
// tests/payments.txt, or the test, aimed at its worst case.
//
// L1 (the wide float). An operation's exact result is rounded to nearest at
//    w bits, ties to even, with a 64-bit exponent that none of the values
//    below can overflow (|exponent| < 2^43): its relative error is at most d,
//    and it is flagged exact when no rounding took part, in it or in its
//    operands; a product with an exact zero is an exact zero. Doubles, a r
//    (106 bits) and midpoints (55 bits) are exact at every rung. Proof: the
//    rounding keeps w bits and looks at the next and at every bit below it.
//    Test: WideFloatTest.
// L2 (the growth). For |n| <= 2^31, the computed X and W are within
//    e = (3|n| + 256) d (1 + 2^-90) of themselves. Pairs (X_k, W_k) combine as
//    (X_a X_b, (W_a + W_b) + W_a W_b) by repeated squaring, from (1 + s, s):
//    s = r above -100%; below it x = -y, y = 1 + s with s = -2 - r, which is
//    exact unless |r| > 2^(w - 2), and X = +-Y, W = Y - 1 or -(Y + 1).
//    - X_k multiplies k copies of 1 + s, each within 2d (s's rounding and
//      the sum's, |s / y| < 1 when s rounds), with k - 1 roundings: within
//      gamma(3k) = 3k d / (1 - 3k d) (Higham, Accuracy and Stability of
//      Numerical Algorithms, 2002, lemma 3.1), gamma(2k) when s is exact.
//    - s > 0: every term of W_a + W_b + W_a W_b is positive, so a sum's
//      relative error is at most its terms' largest, and with W_a, W_b
//      within gamma(p_a), gamma(p_b) the result is within gamma(p_a + p_b
//      + 2): p_k = 3k - 2 from p_1 = 1 (s rounded), or 2k - 2 (s exact).
//    - -1 < s < 0 (s exact; s = -1, r = -1, is exact throughout): W_k in
//      (-1, 0), and W_a + W_b + W_a W_b =
//      W_a X_b + W_b has terms of one sign whose condition numbers X_b and
//      X_a are at most 1, so the operands' errors pass on no larger than
//      their largest; the three roundings add (u + v + uv) / (u + v - uv) d
//      + d <= 4d, u = |W_a|, v = |W_b|. Along at most 63 combinations on any
//      path of the squaring (31 squarings, 32 products): 252d.
//    - W = -(Y + 1) adds d and no cancellation. Second-order terms are below
//      2^-90 of each bound, as 3 |n| d <= 2^-94.
//    Tests: "tiny-rate", "small-rate", "below-minus-100", terms to 2^31 - 1.
// L3 (the sign of P - m). For a midpoint m, P - m = D / W (n > 0) or -D / W
//    (n < 0) with D = a r X - m W or a r + m W, which `difference` writes as
//    two summands, arranged so that what cancels is exact where it can be.
//    Each summand is a product or a sum of at most two operations on exact
//    values and on X or W; by L1 and L2 it is within 2^scale kappa, scale
//    the exponent of its largest inexact piece, kappa = (3|n| + 258) d (1 +
//    2^-88) <= 2^(c - w), c = bit_width(3|n| + 258) (errorBits). The sum D'
//    of the computed summands is their exact sum Z rounded once more; so D
//    has D''s sign once D''s exponent is at least S + c + 3 - w, S the
//    larger scale: then |Z| >= |D'| / (1 + d) > 2^(S + 1) kappa >= |D - Z|.
//    When both summands are exact, D' has D's own sign, and is 0 exactly
//    when P = m. Tests: "near-midpoint",
//    "farther-midpoint", "midpoint".
// L4 (the walk). |P| has the sign of P apart (from the signs of a r, X and
//    W, exact), and the magnitudes' bits order the doubles, +inf read as
//    2^1024, the largest double's upper neighbour, to which a payment at or
//    past their midpoint rounds. Starting from any double, the walk compares
//    |P| with the midpoint above it and, when |P| is below that, the one
//    below; it steps over a midpoint |P| is certainly beyond, and stops on a
//    double both comparisons certainly keep, or on the even of two whose
//    midpoint is |P|. A step never undoes the last, so the walk ends on the
//    correctly rounded magnitude, ties to even; from the first rung's
//    quotient, within 2^-59 of P, it rarely steps at all. Tests: "edge-tie",
//    "extreme", "binade".
// L5 (the ladder). With delta = |P - m| / |m|, |D| = delta |m W|, and in
//    each arrangement of `difference` every summand, and the piece whose
//    error it carries, is at most 8 (1 + delta) |m W|: for n > 0, a r X =
//    P W; for n < 0, a r = -P W; |X| >= 2 gives |W| >= 1 and |X| <= 2 |W|,
//    and |X| < 1/2 gives |W| > 1/2. So L3's test holds at width w whenever
//    delta >= 2^(c + 9 - w): a comparison a rung cannot make, a wider one
//    can, up to the cap. Tests: "rung-256", "rung-512", "rung-1024",
//    "rung-2048".
// L6 (ties). A tie is exact at 256 bits. Let x = p 2^-k, p odd, M =
//    max(|p|, 2^k) for k >= 0 and |x| for an integer x, and P = m.
//    - n > 0: W = N 2^(-kn) with N = p^n - 2^(kn) or p^n 2^(-kn) - 1,
//      coprime to p, and P = a r p^n / N times a power of 2: N's odd part
//      divides a r's, below 2^106, and p^n divides m's, below 2^54. So
//      |p|^n < 2^54, kn <= 106 and M^n < 2^107.
//    - n = -1: P = -a, never a midpoint. n <= -2: W = r S with S = 1 + x +
//      ... + x^(|n| - 1), so P = -a / S, whose odd part divides a's: below
//      2^53, so every tie is subnormal. Then a = -m S is a multiple of
//      2^-1074 only if S is even, which needs x an odd integer and |n| even
//      (else S is odd, or an odd number over a power of 2). S's odd part is
//      below 2^53 and its factors of 2 are those of 2 + r, at most 55 (one
//      for |r| >= 2^54), and of |n|, at most 31: so |x|^(|n| - 1) < 2^85
//      for |r| >= 2^54 (only |n| = 2 is left: M^|n| < 2^170), and < 2^139
//      with |x| < 2^55 otherwise: M^|n| < 2^195.
//    Every power and every W_j has a numerator below 4 M^|n| < 2^197, as
//    does every product of two of them, so all are exact at 256 bits; so
//    are a r X (n > 0, 160 bits), m X and m W (at most 251 bits). At a tie
//    each summand's exact value is minus the other's, representable too,
//    so every rounding is exact and D' = 0 exactly. Tests: "midpoint",
//    "edge-tie", "large-power-tie", "small-power-tie", "beyond-range-tie",
//    "subnormal-leading-tie".
// L7 (the vanishing rest). Where P = L (1 + e) with a leading term L that
//    is a midpoint and a rest e no width could resolve (|X| up to 2^(2^41)),
//    the arrangement puts L - m in a summand of its own, exactly zero: a r -
//    m for L = a r (n > 0 with |X| >= 2, n < 0 with |X| < 1/2), a r X + m
//    for L = -a r X (n > 0, |X| < 1/2), a r + m X for L = -a r / X (n < 0,
//    |X| >= 2). Where L can be a midpoint, X's odd part divides m's (below
//    2^54) or a r's (below 2^106), so X and these summands are exact by 256
//    bits; D is then the other summand, of exact sign. A leading term a r,
//    or -a r X with X's odd part below 2^54, that is not a midpoint lies at
//    least 2^-161 of itself from one, which 256 bits resolve by L5; any
//    other leading term is as near one as chance puts it (L10). Tests:
//    "large-power-tie", "small-power-tie", "large-power-near-tie",
//    "one-month-near-tie".
// L8 (tiny rates, 0 < |r| < 2^-150, tinyRatePayment). With n r that small,
//    P = (a / n) (1 + e) with e = (n + 1) r / 2 (1 + t), |t| < 2^-118, of
//    the sign of (n + 1) r and below 2^-118 (n = -1 gives -a exactly). A
//    normal a / n is never a midpoint (that needs 54 significant bits, a has
//    53) nor within 2^-85 of one (it differs from one by at least 2^-54 / n
//    of itself), so a / n rounded once (`divided`, from integers) is right.
//    A subnormal a / n can be a midpoint, a = M 2^e and n = N 2^j with N
//    dividing M and e - j = -1075; P then lies just past it on e's side. An
//    amount with power > -1011 is at least 2^-958, so |a / n| >= 2^-989 is
//    normal for |n| <= 2^31. Tests: "tiny-rate", "reported".
// L9 (the cap). 2048 bits decide every structural family known: ties (L6,
//    by 256 bits), vanishing rests (L7, at any width), and a leading term
//    -a / r^(|n| - 1) that is a subnormal midpoint for n <= -2 and |r| =
//    R 2^j, from which P lies by |n| / |r| (1 + O(|n| / |r|)): r is a double,
//    so delta > 2^-1024, which L5 resolves at 2048 bits once c <= 1014, far
//    beyond every |n| (a stays a double only for j (|n| - 1) < 2099).
//    Tests: "subnormal-leading-tie", "rung-2048".
// L10 (the rest, an estimate, not a proof). A loan that no structure keeps
//    from a midpoint is decided unless delta < 2^(c + 9 - 2048), c <= 33.
//    There are about 2^52 amount significands times 2^91.5 pairs of rate and
//    term not structurally far from a midpoint; if their payments' fractions
//    in units of the last place fall like independent uniform draws, the
//    expected number of loans that close is about 2^-1800 (the same count
//    gives 5 10^-4 within 2^-208, where a 256-bit cap would stop). Such a
//    loan stops the builds that keep assertions, and others keep the double
//    the walk reached.
#include "Monthly_Payment.h"

#include "Wide_Float.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();
// The bits of +inf, read as 2^1024: the largest double's upper neighbour.
constexpr std::uint64_t INFINITY_BITS = 0x7ff0000000000000;

// The ladder's rungs, in limbs of 32 bits: 128 bits first, then twice the
// width each time, up to the cap (L5).
constexpr int FIRST_LIMBS = 4;
constexpr int LAST_LIMBS = 64;

// `base` combined with itself `count` times (count >= 1), by repeated
// squaring: the power for a product, and fewer roundings than one step a
// month.
template <typename Value, typename Combine> Value repeated(Value base, std::uint64_t count, Combine combine)
{
    Value result = base;
    bool started = false;
    for (; count != 0; count >>= 1) {
        if ((count & 1U) != 0) {
            result = started ? combine(result, base) : base;
            started = true;
        }
        if (count > 1) {
            base = combine(base, base);
        }
    }
    return result;
}

std::uint64_t magnitude(int months)
{
    return static_cast<std::uint64_t>(months < 0 ? -static_cast<std::int64_t>(months) : months);
}

// X = x^|n| and W = X - 1 for x = 1 + r (L1).
template <int L> struct Growth {
    WideFloat<L> power;
    WideFloat<L> less;
};

// (1 + s)^count and (1 + s)^count - 1, the second kept in that form so that
// nothing cancels when it is small: (1 + s)^(a + b) - 1 = u + v + u v for u
// and v those of a and b.
template <int L> Growth<L> powers(const WideFloat<L>& s, std::uint64_t count)
{
    return repeated(
        Growth<L> { wideFromInteger<L>(1) + s, s }, count, [](const Growth<L>& a, const Growth<L>& b) {
            return Growth<L> { a.power * b.power, (a.less + b.less) + a.less * b.less };
        });
}

template <int L> Growth<L> growth(double rate, std::uint64_t count)
{
    const WideFloat<L> r = wideFromDouble<L>(rate);
    if (rate > -1.0) {
        return powers(r, count);
    }
    // x <= 0: x^count is +-y^count for y = -x = 1 + (-2 - r).
    const Growth<L> y = powers(wideFromInteger<L>(2, 0, true) - r, count);
    if ((count & 1U) == 0) {
        return y;
    }
    return { -y.power, -(y.power + wideFromInteger<L>(1)) };
}

// What one rung knows of a loan: a r, exact in 106 bits, and X and W.
template <int L> struct Rung {
    WideFloat<L> ar;
    Growth<L> growth;
};

template <int L> Rung<L> rungFor(double amount, double rate, int months)
{
    return { wideFromDouble<L>(amount) * wideFromDouble<L>(rate), growth<L>(rate, magnitude(months)) };
}

// The sign of P: P = a r X / W for n > 0, -a r / W for n < 0. A zero's sign
// comes from the doubles, as a wide zero keeps none.
template <int L> bool negativePayment(const Rung<L>& rung, double amount, double rate, int months)
{
    const bool negative
        = (binaryParts(amount).negative != binaryParts(rate).negative) != rung.growth.less.negative;
    return months > 0 ? negative != rung.growth.power.negative : !negative;
}

// A summand of D with its error below 2^scale of the growth error's kappa
// (L3), or scale EXACT when it has none.
constexpr std::int64_t EXACT = std::numeric_limits<std::int64_t>::min();

template <int L> struct Summand {
    WideFloat<L> value;
    std::int64_t scale;
};

template <int L> std::int64_t exponentOf(const WideFloat<L>& v)
{
    return isZero(v) ? EXACT : v.exponent;
}

// `value`, computed from `inner`, the largest piece whose error it carries.
template <int L> Summand<L> summand(const WideFloat<L>& value, const WideFloat<L>& inner)
{
    // A rounding never gives 0, so an inexact summand has a nonzero piece.
    assert(value.exact || !isZero(value) || !isZero(inner));
    return { value, value.exact ? EXACT : std::max(exponentOf(value), exponentOf(inner)) };
}

template <int L> Summand<L> summand(const WideFloat<L>& value)
{
    return summand(value, value);
}

// D, whose sign is that of P - m times W's (flipped for n < 0), as two
// summands arranged so that what cancels is exact wherever it can be (L3, L6):
//   n > 0 (D = a r X - m W):   |W| < 1/2   a r + (a r - m) W
//                              |X| >= 2    (a r - m) X + m
//                              |X| < 1/2   (a r X + m) - m X
//                              otherwise   a r X - m W
//   n < 0 (D = a r + m W):     |X| >= 2    (a r + m X) - m
//                              |X| < 1/2   (a r - m) + m X
//                              otherwise   a r + m W
template <int L> struct Difference {
    Summand<L> first;
    Summand<L> second;
};

template <int L> Difference<L> difference(const Rung<L>& rung, const WideFloat<L>& m, int months)
{
    const WideFloat<L>& ar = rung.ar;
    const WideFloat<L>& x = rung.growth.power;
    const WideFloat<L>& w = rung.growth.less;
    const bool huge = !isZero(x) && x.exponent >= 2;
    const bool tiny = isZero(x) || x.exponent <= -1;
    if (months > 0) {
        if (w.exponent <= -1) {
            return { summand(ar), summand((ar - m) * w) };
        }
        if (huge) {
            return { summand((ar - m) * x), summand(m) };
        }
        const WideFloat<L> arx = ar * x;
        if (tiny) {
            return { summand(arx + m, arx), summand(-(m * x)) };
        }
        return { summand(arx), summand(-(m * w)) };
    }
    if (huge) {
        const WideFloat<L> mx = m * x;
        return { summand(ar + mx, mx), summand(-m) };
    }
    if (tiny) {
        return { summand(ar - m), summand(m * x) };
    }
    return { summand(ar), summand(m * w) };
}

// Where |P| lies from a midpoint between two doubles' magnitudes.
enum class Side { BELOW, ON, ABOVE, UNKNOWN };

// ceil(log2 of the growth error's multiple of 2^-BITS), L3.
int errorBits(int months)
{
    return static_cast<int>(std::bit_width(3 * magnitude(months) + 258));
}

// |P| against the midpoint between the doubles whose magnitudes have the bits
// `below` and `below + 1`, from the sign of D (L3, L4).
template <int L> Side sideOf(const Rung<L>& rung, int months, bool negative, std::uint64_t below)
{
    // Neighbours share an exponent, or the upper's is one more, its
    // significand 2^52: m = (s + s' 2^(p' - p)) 2^(p - 1), below 2^55.
    const BinaryParts low = binaryParts(std::bit_cast<double>(below));
    const BinaryParts high = binaryParts(std::bit_cast<double>(below + 1));
    const WideFloat<L> m = wideFromInteger<L>(
        low.significand + (high.significand << (high.power - low.power)), low.power - 1, negative);
    const Difference<L> parts = difference(rung, m, months);
    const WideFloat<L> d = parts.first.value + parts.second.value;
    const std::int64_t scale = std::max(parts.first.scale, parts.second.scale);
    const bool certain
        = scale == EXACT || (!isZero(d) && d.exponent >= scale + errorBits(months) + 3 - WideFloat<L>::BITS);
    if (!certain) {
        return Side::UNKNOWN;
    }
    if (isZero(d)) {
        return Side::ON;
    }
    // P - m has D's sign times W's, flipped for n < 0; |P| - |m| has that of
    // P - m, flipped for a negative payment.
    const bool above = (d.negative == rung.growth.less.negative) == (months > 0);
    return above != negative ? Side::ABOVE : Side::BELOW;
}

// The bits of |P|'s nearest double, from a start `bits`: the midpoints either
// side are compared with |P| and the start moves across any that |P| lies
// beyond (L4). A comparison this rung cannot make goes to the next, twice as
// wide; past the cap, builds that keep assertions stop (L9), and others keep
// the double reached.
template <int L>
std::uint64_t walk(const Rung<L>& rung, double amount, double rate, int months, std::uint64_t bits)
{
    const bool negative = negativePayment(rung, amount, rate, months);
    for (;;) {
        const Side above = bits < INFINITY_BITS ? sideOf(rung, months, negative, bits) : Side::BELOW;
        const Side below
            = above == Side::BELOW && bits > 0 ? sideOf(rung, months, negative, bits - 1) : Side::ABOVE;
        if (above == Side::UNKNOWN || below == Side::UNKNOWN) {
            if constexpr (L < LAST_LIMBS) {
                return walk(rungFor<2 * L>(amount, rate, months), amount, rate, months, bits);
            } else {
                assert(false && "a payment too close to a midpoint to decide in 2048 bits");
                return bits;
            }
        }
        if (above == Side::ABOVE) {
            ++bits;
        } else if (below == Side::BELOW) {
            --bits;
        } else if (above == Side::ON) {
            return bits + (bits & 1U); // the even of the two
        } else if (below == Side::ON) {
            return bits - (bits & 1U);
        } else {
            return bits;
        }
    }
}

// |a / b| to within about 2^-59 of itself, as a double: from their top 64
// bits, by long division. It only starts the walk, or serves the formula as
// it stands.
template <int L> double quotient(const WideFloat<L>& a, const WideFloat<L>& b)
{
    const std::uint64_t divisor = leadingBits(b); // at least 2^63
    std::uint64_t remainder = leadingBits(a) >> 1;
    std::uint64_t q = 0; // floor(remainder 2^64 / divisor), below 2^64
    for (int i = 0; i < 64; ++i) {
        const bool carry = (remainder >> 63) != 0;
        remainder <<= 1;
        q <<= 1;
        if (carry || remainder >= divisor) {
            remainder -= divisor;
            q |= 1U;
        }
    }
    return roundToDouble(q >> 1, a.exponent - b.exponent - 62);
}

// The correctly rounded payment for a finite amount and rate, n != 0 and a
// finite exact value (L1-L9).
double ladderPayment(double amount, double rate, int months)
{
    const Rung<FIRST_LIMBS> rung = rungFor<FIRST_LIMBS>(amount, rate, months);
    const bool negative = negativePayment(rung, amount, rate, months);
    std::uint64_t bits = 0; // a zero amount's payment is a zero
    if (amount != 0.0) {
        const WideFloat<FIRST_LIMBS>& w = rung.growth.less;
        const double start = months > 0 ? quotient(rung.ar * rung.growth.power, w) : quotient(rung.ar, w);
        bits = walk(rung, amount, rate, months, std::bit_cast<std::uint64_t>(start));
    }
    const double size = std::bit_cast<double>(bits);
    return negative ? -size : size;
}

// a / n rounded once, for n != 0 and a finite, from integers: a's
// significand times 2^64 over |n| leaves a quotient of at least 85 bits, and
// a remainder sets its last bit, which keeps it off every midpoint it does
// not lie on, so it rounds as a / n does. Elsewhere (a zero n, an infinite
// or not-a-number a) the division in doubles, where nothing is rounded.
double divided(double a, int n)
{
    if (n == 0 || a - a != 0.0) {
        return a / static_cast<double>(n);
    }
    const BinaryParts parts = binaryParts(a);
    const auto divisor = static_cast<std::uint32_t>(magnitude(n));
    FixedUnsigned<FIRST_LIMBS> q {};
    q.word[2] = static_cast<std::uint32_t>(parts.significand);
    q.word[3] = static_cast<std::uint32_t>(parts.significand >> 32);
    std::uint64_t remainder = 0;
    for (int i = FIRST_LIMBS - 1; i >= 0; --i) {
        const std::uint64_t part = remainder << 32 | q.word[i];
        q.word[i] = static_cast<std::uint32_t>(part / divisor);
        remainder = part % divisor;
    }
    q.word[0] |= remainder != 0 ? 1U : 0U;
    const double size = nearestDouble(wideFromFixed<FIRST_LIMBS>(q, parts.power - 64, false));
    return parts.negative != (n < 0) ? -size : size;
}

// base^n as pow gives it, to within a unit in the last place, for a whole n,
// for what the formula leaves to it: a base of 0 or below, infinite or not a
// number, or n = 0.
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
        using Wide = WideFloat<FIRST_LIMBS>;
        const Wide power = repeated(
            wideFromDouble<FIRST_LIMBS>(size), count, [](const Wide& a, const Wide& b) { return a * b; });
        result = n > 0 ? nearestDouble(power) : quotient(wideFromInteger<FIRST_LIMBS>(1), power);
    }
    return base < 0 && (count & 1U) != 0 ? -result : result;
}

// The payment for 0 < |r| < 2^-150 (L8).
double tinyRatePayment(double amount, double rate, int months)
{
    const double perMonth = divided(amount, months);
    const BinaryParts parts = binaryParts(amount);
    if (amount == 0.0 || months == -1 || parts.power > -1011) {
        return perMonth; // a zero, -a exactly, or a quotient above the subnormals
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
        return perMonth;
    }
    const std::uint64_t half = odd / divisor; // |a / n| = half * 2^-1075, half odd
    const bool away = ((static_cast<std::int64_t>(months) + 1) > 0) == (rate > 0.0);
    const double size = roundToDouble(away ? half / 2 + 1 : half / 2, -1074);
    return (amount < 0.0) != (months < 0) ? -size : size; // perMonth may be a zero, signed or not
}

} // namespace

double computeMonthlyPayment(double amount, double monthlyRate, int months)
{
    const bool finiteAmount = amount - amount == 0.0;
    const bool finiteRate = monthlyRate - monthlyRate == 0.0;
    if (monthlyRate == 0.0) {
        return divided(amount, months); // the limit as the rate goes to 0
    }
    if (months != 0 && absolute(monthlyRate) < 0x1p-150) {
        return tinyRatePayment(amount, monthlyRate, months);
    }
    // x^n is 0 with n > 0 at -100%, and 1 with n even at -200%: no finite value.
    const bool finiteValue = finiteRate && months != 0 && !(monthlyRate == -1.0 && months > 0)
        && !(monthlyRate == -2.0 && months % 2 == 0);
    if (finiteValue && finiteAmount) {
        return ladderPayment(amount, monthlyRate, months);
    }
    if (finiteValue && monthlyRate > -1.0) {
        return amount * (months < 0 ? -1.0 : 1.0); // only the sign of r / (1 - x^-n) counts
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
