// computeMonthlyPayment against MPFR: wherever the exact payment is a finite
// number, the result must be the double nearest it, ties to even. An input is
// a reference table row's first three fields (the amount's and the rate's bits
// in hexadecimal, the months), so that a failure is a row as it stands.
//
// The exact payment is P = a r / (1 - x^-n), x = 1 + r. With X = x^|n|, it is
// P = a r X / (X - 1) for n > 0 and a r / (1 - X) for n < 0: X is dyadic, so
// at a tie every step is exact at some precision and the quotient, the
// midpoint itself, is exact too. MPFR gives P with a proven error bound at a
// precision that doubles until both ends of the error interval round to one
// double. Where no precision separates them, the exact leading term decides
// (see vanishingRest).
#include "Monthly_Payment.h"

#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr mpfr_prec_t WIDEST = 1 << 14;
constexpr double UNDECIDED = std::numeric_limits<double>::quiet_NaN();

void check(bool holds)
{
    if (!holds) {
        __builtin_trap();
    }
}

struct Number {
    mpfr_t v;
    explicit Number(mpfr_prec_t precision)
    {
        mpfr_init2(v, precision);
    }
    ~Number()
    {
        mpfr_clear(v);
    }
    Number(const Number&) = delete;
    Number& operator=(const Number&) = delete;
};

// The nearest double to a value known within 2^error of itself (relative),
// or UNDECIDED if the interval holds a midpoint between doubles.
double nearestWithin(const mpfr_t value, mpfr_exp_t error)
{
    const mpfr_prec_t precision = mpfr_get_prec(value) + 8;
    Number spread(mpfr_get_prec(value));
    Number low(precision);
    Number high(precision);
    mpfr_abs(spread.v, value, MPFR_RNDN);
    mpfr_mul_2si(spread.v, spread.v, error, MPFR_RNDN); // exact
    mpfr_sub(low.v, value, spread.v, MPFR_RNDD);
    mpfr_add(high.v, value, spread.v, MPFR_RNDU);
    const double lower = mpfr_get_d(low.v, MPFR_RNDN);
    const double upper = mpfr_get_d(high.v, MPFR_RNDN);
    return std::signbit(lower) == std::signbit(upper) && lower == upper ? lower : UNDECIDED;
}

// Whether |v| lies halfway between two neighbouring doubles; the largest
// double and 2^1024 count as neighbours, as rounding overflows from there.
bool isMidpoint(const mpfr_t v)
{
    Number size(mpfr_get_prec(v));
    mpfr_abs(size.v, v, MPFR_RNDN);
    const double below = mpfr_get_d(size.v, MPFR_RNDD);
    const double above = mpfr_get_d(size.v, MPFR_RNDU);
    if (below == above) {
        return false; // a double
    }
    Number half(1200); // two neighbours' sum, exactly
    if (std::isinf(above)) { // |v| above the largest double
        mpfr_set_ui_2exp(half.v, 1, 1024, MPFR_RNDN);
    } else {
        mpfr_set_d(half.v, above, MPFR_RNDN);
    }
    mpfr_add_d(half.v, half.v, below, MPFR_RNDN);
    mpfr_div_2ui(half.v, half.v, 1, MPFR_RNDN);
    return mpfr_equal_p(half.v, size.v) != 0;
}

// P = L (1 + e), L exact, 0 < |e| < 2^-109 with e of the given sign, lies
// strictly between L and E = L (1 + sign 2^-109). Midpoints between doubles
// are at least 2^-54 of their size apart (2^-1074, more than 2^-52 of their
// size, among the subnormals), so no midpoint lies in (L, E] when L is one,
// and P rounds as E does. When L is not one and rounds as E does, so does
// every value between them. Otherwise a midpoint lies in (L, E]: undecided.
double leadingTerm(const mpfr_t leading, bool negative)
{
    Number end(mpfr_get_prec(leading) + 120);
    mpfr_mul_2si(end.v, leading, -109, MPFR_RNDN);
    if (negative) {
        mpfr_neg(end.v, end.v, MPFR_RNDN);
    }
    check(mpfr_add(end.v, end.v, leading, MPFR_RNDN) == 0);
    const double past = mpfr_get_d(end.v, MPFR_RNDN);
    return isMidpoint(leading) || mpfr_get_d(leading, MPFR_RNDN) == past ? past : UNDECIDED;
}

// Where X is past 2^+-113, no precision may tell P from its leading term L:
//   |X| < 2^-113:  P = L (1 + e), e = X / (1 - X), L = a r for n < 0 and
//                  -a r X for n > 0;
//   |X| >= 2^114:  P = L (1 + e), e = 1 / (X - 1), L = a r for n > 0 and
//                  -a r / X for n < 0;
// e has X's sign and |e| < 2^-112. a r is exact; the other L is used only
// when X and L are exact. X is the computed one, within 2^-128 of itself,
// which changes neither the sign nor the bound.
double vanishingRest(const mpfr_t ar, const mpfr_t power, bool powerExact, int months)
{
    if (mpfr_zero_p(power) != 0) {
        return UNDECIDED;
    }
    const bool small = mpfr_get_exp(power) < -112;
    if (!small && mpfr_get_exp(power) <= 114) {
        return UNDECIDED;
    }
    const bool negative = mpfr_signbit(power) != 0;
    if (small == (months < 0)) {
        return leadingTerm(ar, negative);
    }
    if (!powerExact) {
        return UNDECIDED;
    }
    Number leading(mpfr_get_prec(power) + 128);
    const int inexact
        = months > 0 ? mpfr_mul(leading.v, ar, power, MPFR_RNDN) : mpfr_div(leading.v, ar, power, MPFR_RNDN);
    if (inexact != 0) {
        return UNDECIDED;
    }
    mpfr_neg(leading.v, leading.v, MPFR_RNDN);
    return leadingTerm(leading.v, negative);
}

// The double nearest a r / (1 - (1 + r)^-n), or UNDECIDED where it has no
// finite value or this cannot tell.
double oracle(double amount, double rate, int months)
{
    if (rate == 0.0) { // the limit a / n
        Number q(256);
        mpfr_set_d(q.v, amount, MPFR_RNDN);
        const bool exact = mpfr_div_si(q.v, q.v, months, MPFR_RNDN) == 0;
        return exact ? mpfr_get_d(q.v, MPFR_RNDN) : nearestWithin(q.v, -255);
    }
    Number ar(128);
    check(mpfr_set_d(ar.v, amount, MPFR_RNDN) == 0 && mpfr_mul_d(ar.v, ar.v, rate, MPFR_RNDN) == 0);
    Number x(1200); // 1 + r exactly: r's bits lie within 1126 of 1's
    check(mpfr_set_d(x.v, rate, MPFR_RNDN) == 0 && mpfr_add_ui(x.v, x.v, 1, MPFR_RNDN) == 0);
    if (mpfr_zero_p(x.v) != 0 && months > 0) {
        return UNDECIDED; // 0^-n: no finite value
    }
    const unsigned long count
        = months < 0 ? 0UL - static_cast<unsigned long>(months) : static_cast<unsigned long>(months);
    for (mpfr_prec_t precision = 128; precision <= WIDEST; precision *= 2) {
        Number power(precision); // X
        Number rest(precision); // W = X - 1 for n > 0, 1 - X for n < 0
        Number top(precision + 128); // a r X for n > 0, a r for n < 0: exact when X is
        Number p(precision);
        const bool powerExact = mpfr_pow_ui(power.v, x.v, count, MPFR_RNDN) == 0;
        const bool restExact = (months > 0 ? mpfr_sub_ui(rest.v, power.v, 1, MPFR_RNDN)
                                           : mpfr_ui_sub(rest.v, 1, power.v, MPFR_RNDN))
            == 0;
        if (mpfr_zero_p(rest.v) != 0) {
            if (powerExact) {
                return UNDECIDED; // X = 1: no finite value
            }
            continue;
        }
        const bool topExact
            = (months > 0 ? mpfr_mul(top.v, ar.v, power.v, MPFR_RNDN) : mpfr_set(top.v, ar.v, MPFR_RNDN))
            == 0;
        const bool pExact = mpfr_div(p.v, top.v, rest.v, MPFR_RNDN) == 0;
        if (powerExact && restExact && topExact && pExact) {
            return mpfr_get_d(p.v, MPFR_RNDN);
        }
        // Each result is within d = 2^-precision of itself (a r X within
        // 2^-128 d). X within d puts W within K d more, for K >= |X / W|, and
        // so P = a r X / W (or a r / W) within (1 + d)^3 / (1 - (K + 1) d) - 1
        // <= (1.02 K + 4.1) d of itself when (K + 1) d <= 2^-7. With 2^m above
        // |X / W| as computed and m + 8 < precision, the exact |X / W| is below
        // 1.01 2^m; for k = max(m, 0), P is within 5.2 2^k d, and 2^(k + 3) d
        // of the computed P still covers it.
        const mpfr_exp_t magnify
            = mpfr_zero_p(power.v) != 0 ? 0 : mpfr_get_exp(power.v) - mpfr_get_exp(rest.v) + 1;
        const mpfr_exp_t k = magnify > 0 ? magnify : 0;
        if (k + 8 < precision) {
            const double nearest = nearestWithin(p.v, k + 3 - precision);
            if (!std::isnan(nearest)) {
                return nearest;
            }
        }
        const double decided = vanishingRest(ar.v, power.v, powerExact, months);
        if (!std::isnan(decided)) {
            return decided;
        }
    }
    return UNDECIDED;
}

bool parse(const std::string& text, double& amount, double& rate, int& months)
{
    char* end = nullptr;
    const char* at = text.c_str();
    const unsigned long long a = std::strtoull(at, &end, 16);
    const unsigned long long r = std::strtoull(end, &end, 16);
    const long long n = std::strtoll(end, &end, 10);
    if (end == at || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) {
        return false;
    }
    std::memcpy(&amount, &a, sizeof amount);
    std::memcpy(&rate, &r, sizeof rate);
    months = static_cast<int>(n);
    return std::isfinite(amount) && std::isfinite(rate) && months != 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Powers up to 2^(1024 * 2^31) and down to its inverse, without overflow.
    mpfr_set_emax(mpfr_get_emax_max());
    mpfr_set_emin(mpfr_get_emin_min());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    double amount = 0.0;
    double rate = 0.0;
    int months = 0;
    if (!parse(std::string(reinterpret_cast<const char*>(data), size), amount, rate, months)) {
        return 0;
    }
    const double expected = oracle(amount, rate, months);
    if (std::isnan(expected)) {
        return 0;
    }
    const double got = computeMonthlyPayment(amount, rate, months);
    if (expected == 0.0) { // the sign of a zero is the exact payment's, when it has one
        check(got == 0.0 && (amount == 0.0 || std::signbit(got) == std::signbit(expected)));
    } else {
        check(std::bit_cast<std::uint64_t>(got) == std::bit_cast<std::uint64_t>(expected));
    }
    return 0;
}
