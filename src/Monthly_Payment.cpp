// The fixed monthly payment of a loan, from IEEE-754's basic operations
// alone, so that every platform gives the same bits.
#include "Monthly_Payment.h"

#include "Double_Double.h"

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

} // namespace

// amount * r / (1 - (1 + r)^-n), r the monthly rate as a fraction, from the
// basic operations alone, so that every platform prints the same cents. It is
// exact to about 100 bits before the one rounding to a double: for rates
// however small, where 1 - (1 + r)^-n cancels, and terms however long, where
// (1 + r)^n overflows a double.
double computeMonthlyPayment(double amount, double monthlyRate, int months)
{
    if (monthlyRate == 0.0) {
        return amount / static_cast<double>(months); // the limit as the rate goes to 0
    }
    if (monthlyRate > -1.0 && monthlyRate < INFINITE && months != 0) {
        const ScaledDoubleDouble perDiscount = ratePerDiscount(monthlyRate, months);
        if (amount == 0.0 || std::isinf(amount) || std::isnan(amount)) {
            return amount * (perDiscount.mantissa.hi < 0.0 ? -1.0 : 1.0); // only its sign counts
        }
        return toDouble(scaled(amount) * perDiscount);
    }
    // An infinite rate makes (1 + r)^-n zero or infinite: the discount is 1,
    // or -inf, which leaves no number.
    if (monthlyRate == INFINITE && months != 0) {
        return months > 0 ? amount * monthlyRate : std::numeric_limits<double>::quiet_NaN();
    }
    // The rest has no finite answer or a base of 0 or below: take the formula
    // as it stands.
    const double growth = raisedTo(1.0 + monthlyRate, months);
    return (amount * monthlyRate) * (growth / (growth - 1.0));
}
