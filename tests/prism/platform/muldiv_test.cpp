// platform::MulDiv: the Windows multiply-divide that the stages rely on.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDiv, RoundsHalvesAwayFromZeroForEverySign) {
    struct Case { int a, b, c, expected; };
    const Case cases[] = {
        {3, 1, 2, 2},    {-3, 1, 2, -2},  {3, -1, 2, -2},  {3, 1, -2, -2},  // 1.5
        {-3, -1, 2, 2},  {-3, 1, -2, 2},  {3, -1, -2, 2},  {-3, -1, -2, -2},
        {5, 1, 4, 1},    {-5, 1, 4, -1},  {7, 1, 4, 2},    {-7, 1, 4, -2},  // 1.25, 1.75
        {1, 1, 3, 0},    {2, 1, 3, 1},    {-2, 1, 3, -1},  {0, 5, 7, 0},
        {76800, 1, 1000, 77}, {255, 210, 251, 213},
        // The 64-bit product keeps a result that fits.
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {65536, 65536, 65536, 65536},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MulDiv(c.a, c.b, c.c), c.expected)
            << c.a << " * " << c.b << " / " << c.c;
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
    const int cases[][3] = {{1, 1, 0}, {0, 0, 0}, {-5, 3, 0}, {INT_MAX, 2, 1},
                            {-INT_MAX, 2, 1}, {65536, 65536, 1}, {INT_MAX, INT_MAX, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(platform::MulDiv(c[0], c[1], c[2]), -1) << c[0] << " * " << c[1] << " / " << c[2];
}
