#include "vat/Rounding.h"

#include <gtest/gtest.h>

using namespace rur::vat;

// The computed rounding writes 15 significant digits first: a value that reads as a half
// goes away from zero, while the text rounding on store looks at the exact binary value.
TEST(Rounding, ComputedAndStoredRoundingsDiffer)
{
    EXPECT_EQ(Zaokr0(28.499999999999996L), 29.0);
    EXPECT_EQ(storeRound0(28.499999999999996), 28.0);
    EXPECT_EQ(Zaokr0(12.45L), 12.0);
    EXPECT_EQ(Zaokr0(-12.5L), -13.0);
    EXPECT_EQ(Zaokr0(1.5L), 2.0);
    EXPECT_EQ(Zaokr0(-0.4L), 0.0);
    EXPECT_EQ(Zaokr0(852.55L), 853.0);
    EXPECT_EQ(Zaokr0(99999999999.5L), 100000000000.0);
}

TEST(Rounding, TwoAndFourDecimals)
{
    EXPECT_DOUBLE_EQ(Zaokr2(0.85499L), 0.85);
    EXPECT_DOUBLE_EQ(Zaokr2(0.85514L), 0.86);
    EXPECT_DOUBLE_EQ(Zaokr2(0.945L), 0.95);     // three decimals: nudged, then rounded
    EXPECT_DOUBLE_EQ(Zaokr2(-0.125L), -0.13);
    EXPECT_DOUBLE_EQ(Zaokr4(20.0L / 120.0L), 0.1667);
    EXPECT_DOUBLE_EQ(Zaokr4(14.0L / 114.0L), 0.1228);
    EXPECT_DOUBLE_EQ(Zaokr4(0.12345L), 0.1235);
    EXPECT_DOUBLE_EQ(storeRound2(0.855), 0.85);  // binary value below the half
    EXPECT_DOUBLE_EQ(storeRound2(0.125), 0.13);
}
