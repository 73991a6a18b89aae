// The wide float under the payment, at its narrowest and widest: rounding to
// nearest even, and the exactness flag the payment's tie test relies on.
#include "Wide_Float.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

template <typename Width> class WideFloatTest : public ::testing::Test {
};
using Widths = ::testing::Types<WideFloat<4>, WideFloat<64>>;
TYPED_TEST_SUITE(WideFloatTest, Widths);

TYPED_TEST(WideFloatTest, RoundsToNearestEvenAndSaysWhenItRounded)
{
    constexpr int L = sizeof(TypeParam::significand.word) / sizeof(std::uint32_t);
    constexpr std::int64_t BITS = TypeParam::BITS;
    const auto power = [](std::int64_t p) { return wideFromInteger<L>(1, p); };
    const TypeParam one = power(0);
    const TypeParam tie = one + power(-BITS); // half of 1's last place
    EXPECT_FALSE(tie.exact);
    EXPECT_TRUE(isZero(tie - one)) << "a tie goes to the even neighbour, 1";
    const TypeParam odd = one + power(1 - BITS); // exact, last bit odd
    EXPECT_TRUE(odd.exact);
    const TypeParam up = odd + power(-BITS); // a tie again: up to the even one
    EXPECT_FALSE(up.exact);
    EXPECT_TRUE(isZero(up - (one + power(2 - BITS))));
    EXPECT_FALSE((one - power(-BITS - 40)).exact) << "far below the last place, still a rounding";
    const TypeParam wide = power(BITS / 2 - 1) + one; // squared: BITS - 1 bits
    EXPECT_TRUE((wide * wide).exact);
    const TypeParam wider = power(BITS / 2) + one; // squared: BITS + 1 bits
    EXPECT_FALSE((wider * wider).exact);
    EXPECT_TRUE(isZero(odd - odd) && (odd - odd).exact);
    EXPECT_TRUE((wideFromInteger<L>(0) * (wider * wider)).exact) << "an exact zero makes an exact product";
}

// One rounding to a double from every bit of the wide value, on the
// subnormals' grid and past the largest double too.
TYPED_TEST(WideFloatTest, NearestDoubleRoundsOnceFromEveryBit)
{
    constexpr int L = sizeof(TypeParam::significand.word) / sizeof(std::uint32_t);
    const auto power = [](std::int64_t p) { return wideFromInteger<L>(1, p); };
    const TypeParam tie = wideFromInteger<L>((std::uint64_t { 1 } << 53) + 1); // between 2^53 and 2^53 + 2
    EXPECT_EQ(nearestDouble(tie), 0x1p53);
    EXPECT_EQ(nearestDouble(tie + power(-60)), 0x1p53 + 2) << "a bit past the top 64 breaks the tie";
    EXPECT_EQ(nearestDouble(power(-1075)), 0.0) << "half the least subnormal goes to the even 0";
    EXPECT_EQ(nearestDouble(power(-1075) + power(-1075 - TypeParam::BITS / 2)), 0x1p-1074);
    EXPECT_EQ(nearestDouble(wideFromInteger<L>(3, -1075)), 0x1p-1073);
    EXPECT_EQ(nearestDouble(wideFromDouble<L>(0x1.fffffffffffffp1023) + power(970)),
        std::numeric_limits<double>::infinity());
    EXPECT_EQ(nearestDouble(wideFromDouble<L>(-0.75)), 0.75) << "a magnitude";
    EXPECT_TRUE(isZero(wideFromDouble<L>(std::numeric_limits<double>::infinity()) - power(1024)))
        << "infinity reads as 2^1024";
}

} // namespace
