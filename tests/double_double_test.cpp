// The arithmetic under the payment: exact where it claims to be, and no
// overflow or underflow before the result becomes a double again.
#include "Double_Double.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Kept from the compiler, which would otherwise fold the sums at build time
// where no contraction can show.
double opaque(double value)
{
    volatile double kept = value;
    return kept;
}

// g++ fuses a * b - c into one multiply-add on arm64, s390x and ppc64el
// unless contraction is off, and Dekker's split and product are then wrong.
TEST(DoubleDouble, EveryProductIsRoundedOnItsOwn)
{
    const double a = opaque(1.0 + 0x1p-30);
    const double square = a * a; // 1 + 2^-29 + 2^-60, rounded
    EXPECT_EQ(a * a - square, 0.0) << "contracted into a fused multiply-add";
    const DoubleDouble exact = twoProduct(a, a);
    EXPECT_EQ(exact.hi, 1.0 + 0x1p-29);
    EXPECT_EQ(exact.lo, 0x1p-60);
    const DoubleDouble halves = split(opaque(1.0 + 0x1p-52));
    EXPECT_EQ(halves.hi, 1.0);
    EXPECT_EQ(halves.lo, 0x1p-52);
}

TEST(DoubleDouble, SumsAndQuotientsKeepWhatADoubleLoses)
{
    const DoubleDouble sum = twoSum(opaque(1.0), opaque(0x1p-70));
    EXPECT_EQ(sum.hi, 1.0);
    EXPECT_EQ(sum.lo, 0x1p-70);
    // One third to about 106 bits: three of it are 1 to within 2^-104.
    const DoubleDouble third = DoubleDouble { 1.0, 0.0 } / DoubleDouble { opaque(3.0), 0.0 };
    const DoubleDouble one = third * DoubleDouble { 3.0, 0.0 };
    EXPECT_EQ(one.hi, 1.0);
    EXPECT_LE(absolute(one.lo), 0x1p-104);
}

TEST(ScaledDoubleDouble, RangeEndsOnlyInTheLastConversion)
{
    const double inf = std::numeric_limits<double>::infinity();
    const ScaledDoubleDouble huge = scaled(opaque(0x1p1000)) * scaled(0x1p1000);
    EXPECT_EQ(huge.exponent, 2000);
    EXPECT_EQ(toDouble(huge / scaled(0x1p1000)), 0x1p1000);
    EXPECT_EQ(toDouble(huge), inf);
    EXPECT_EQ(toDouble(-huge), -inf);
    const ScaledDoubleDouble tiny = scaled(opaque(0x1p-1074)) / scaled(0x1p100); // from a subnormal
    EXPECT_EQ(tiny.exponent, -1174);
    EXPECT_EQ(toDouble(tiny * scaled(0x1p200)), 0x1p-974);
    EXPECT_TRUE(std::signbit(toDouble(-tiny)));
}

} // namespace
