// The wide float under the payment, at its narrowest and widest: rounding to
// nearest even, and the exactness flag the payment's tie test relies on.
#include "Wide_Float.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

template <int L> WideFloat<L> power(std::int64_t p)
{
    return wideFromInteger<L>(1, p);
}

template <int L> void roundsToNearestEvenAndSaysWhenItRounded()
{
    constexpr std::int64_t BITS = WideFloat<L>::BITS;
    const WideFloat<L> one = power<L>(0);
    const WideFloat<L> tie = one + power<L>(-BITS); // half of 1's last place
    EXPECT_FALSE(tie.exact);
    EXPECT_TRUE(isZero(tie - one)) << "a tie goes to the even neighbour, 1";
    const WideFloat<L> odd = one + power<L>(1 - BITS); // exact, last bit odd
    EXPECT_TRUE(odd.exact);
    const WideFloat<L> up = odd + power<L>(-BITS); // a tie again: up to the even one
    EXPECT_FALSE(up.exact);
    EXPECT_TRUE(isZero(up - (one + power<L>(2 - BITS))));
    EXPECT_FALSE((one - power<L>(-BITS - 40)).exact) << "far below the last place, still a rounding";
    const WideFloat<L> wide = power<L>(BITS / 2 - 1) + one; // squared: BITS - 1 bits
    EXPECT_TRUE((wide * wide).exact);
    const WideFloat<L> wider = power<L>(BITS / 2) + one; // squared: BITS + 1 bits
    EXPECT_FALSE((wider * wider).exact);
    EXPECT_TRUE(isZero(odd - odd) && (odd - odd).exact);
    EXPECT_TRUE((wideFromInteger<L>(0) * (wider * wider)).exact) << "an exact zero makes an exact product";
}

// One rounding to a double from every bit of the wide value, on the
// subnormals' grid and past the largest double too.
template <int L> void nearestDoubleRoundsOnceFromEveryBit()
{
    const WideFloat<L> tie = wideFromInteger<L>((std::uint64_t { 1 } << 53) + 1); // between 2^53 and 2^53 + 2
    EXPECT_EQ(nearestDouble(tie), 0x1p53);
    EXPECT_EQ(nearestDouble(tie + power<L>(-60)), 0x1p53 + 2) << "a bit past the top 64 breaks the tie";
    EXPECT_EQ(nearestDouble(power<L>(-1075)), 0.0) << "half the least subnormal goes to the even 0";
    EXPECT_EQ(nearestDouble(power<L>(-1075) + power<L>(-1075 - WideFloat<L>::BITS / 2)), 0x1p-1074);
    EXPECT_EQ(nearestDouble(wideFromInteger<L>(3, -1075)), 0x1p-1073);
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(nearestDouble(wideFromDouble<L>(0x1.fffffffffffffp1023) + power<L>(970)), infinity);
    EXPECT_EQ(nearestDouble(wideFromDouble<L>(-0.75)), 0.75) << "a magnitude";
    EXPECT_TRUE(isZero(wideFromDouble<L>(infinity) - power<L>(1024))) << "infinity reads as 2^1024";
}

TEST(WideFloat, RoundsToNearestEvenAndSaysWhenItRounded)
{
    roundsToNearestEvenAndSaysWhenItRounded<4>();
    roundsToNearestEvenAndSaysWhenItRounded<64>();
}

TEST(WideFloat, NearestDoubleRoundsOnceFromEveryBit)
{
    nearestDoubleRoundsOnceFromEveryBit<4>();
    nearestDoubleRoundsOnceFromEveryBit<64>();
}

} // namespace
