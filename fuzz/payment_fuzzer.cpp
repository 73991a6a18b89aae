// computeMonthlyPayment against MPFR: wherever the exact payment is a finite
// number, the result must be the double nearest it, ties to even. An input is
// a reference table row's first three fields (the amount's and the rate's bits
// in hexadecimal, the months), so that a failure is a row as it stands.
//
// The exact payment is P = a r / (1 - t), t = x^-n, x = 1 + r. MPFR gives it
// with a proven error bound at a precision that doubles until both ends of
// the error interval round to one double. Where no precision separates them,
// two exact arguments decide (see vanishingRest).
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

// P = L (1 + e), L exact, 0 < |e| < 2^-109 with e of the given sign: no
// midpoint lies strictly between L and L (1 + sign 2^-109), as midpoints are
// at least 2^-54 of their size apart (2^-1075 among the subnormals), so P
// rounds as L (1 + sign 2^-110) does, L a midpoint or not.
double leadingTerm(const mpfr_t leading, bool negative)
{
    Number q(mpfr_get_prec(leading) + 120);
    mpfr_mul_2si(q.v, leading, -110, MPFR_RNDN);
    if (negative) {
        mpfr_neg(q.v, q.v, MPFR_RNDN);
    }
    check(mpfr_add(q.v, q.v, leading, MPFR_RNDN) == 0);
    return mpfr_get_d(q.v, MPFR_RNDN);
}

// Where t is past 2^+-113, no precision may tell P from its leading term:
//   |t| < 2^-113: P = a r (1 + e), e = t / (1 - t), of t's sign;
//   |t| > 2^113:  P = L (1 + e), L = -a r / t, e = 1 / (t - 1), of t's sign,
//                 when t and L are exact.
double vanishingRest(const mpfr_t ar, const mpfr_t t, bool tExact)
{
    if (mpfr_zero_p(t) == 0 && mpfr_get_exp(t) < -112) {
        return leadingTerm(ar, mpfr_signbit(t) != 0);
    }
    if (tExact && mpfr_get_exp(t) > 114) {
        Number leading(256);
        if (mpfr_div(leading.v, ar, t, MPFR_RNDN) == 0) {
            mpfr_neg(leading.v, leading.v, MPFR_RNDN);
            return leadingTerm(leading.v, mpfr_signbit(t) != 0);
        }
    }
    return UNDECIDED;
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
    for (mpfr_prec_t precision = 128; precision <= WIDEST; precision *= 2) {
        Number t(precision);
        Number d(precision);
        Number p(precision);
        const bool tExact = mpfr_pow_si(t.v, x.v, -static_cast<long>(months), MPFR_RNDN) == 0;
        const bool dExact = mpfr_ui_sub(d.v, 1, t.v, MPFR_RNDN) == 0;
        if (mpfr_zero_p(d.v) != 0) {
            if (tExact) {
                return UNDECIDED; // t = 1: no finite value
            }
            continue;
        }
        const bool pExact = mpfr_div(p.v, ar.v, d.v, MPFR_RNDN) == 0;
        if (tExact && dExact && pExact) {
            return mpfr_get_d(p.v, MPFR_RNDN);
        }
        // t and d each within 2^-p of themselves, so d within 2^-p (2K + 1)
        // of the exact 1 - t for K >= |t / d|, and P within 2^-p (4K + 3).
        const mpfr_exp_t magnify = mpfr_zero_p(t.v) != 0 ? 0 : mpfr_get_exp(t.v) - mpfr_get_exp(d.v) + 1;
        const mpfr_exp_t k = magnify > 0 ? magnify : 0;
        if (k + 8 < precision) {
            const double nearest = nearestWithin(p.v, k + 3 - precision);
            if (!std::isnan(nearest)) {
                return nearest;
            }
        }
        const double decided = vanishingRest(ar.v, t.v, tExact);
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
