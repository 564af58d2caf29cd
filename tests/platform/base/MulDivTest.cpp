#include "platform/base/MulDiv.h"

#include <gtest/gtest.h>

TEST(MulDiv, RoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(8, 600, 72), 67);    // 66.67
    EXPECT_EQ(MulDiv(1, 3, 2), 2);        // 1.5
    EXPECT_EQ(MulDiv(-1, 3, 2), -2);      // -1.5
    EXPECT_EQ(MulDiv(1, -3, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);      // -2.5
    EXPECT_EQ(MulDiv(4, 1, 3), 1);        // 1.33
    EXPECT_EQ(MulDiv(67, 2540, 600), 284);
    EXPECT_EQ(MulDiv(2000000000, 3, 3), 2000000000);  // the product needs 64 bits
}

TEST(MulDiv, FailsWithMinusOne)
{
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2, 1), -1);
}
