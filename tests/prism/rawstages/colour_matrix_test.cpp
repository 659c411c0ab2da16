// Colour matrix: hand-computed pixels for the row and column roles, the
// summation order, clamping before truncation, and refused sizes.
#include "rawstages/colour_matrix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kDefault[9] = {1.469, -0.188, -0.281, -0.047, 1.234, -0.188, -0.020, -0.375, 1.395};
constexpr double kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

TEST(ColourMatrix, Pixels) {
    // Row 1 makes red from red, green, blue; red from blue, green from red,
    // blue from green.
    constexpr double kRotate[9] = {0, 0, 1, 1, 0, 0, 0, 1, 0};
    // Blue row 0.836 R + 0.712 G + 0.1 B: in the order blue, green, red
    // 131, 105, 115 sum to exactly 184; the other order gives 183.99999...
    constexpr double kOrder[9] = {1, 0, 0, 0, 1, 0, 0.836, 0.712, 0.1};
    constexpr double kTruncate[9] = {0.999, 0, 0, 0, -1, 0, 0, 0, 1.5};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double kNotANumber[9] = {nan, 0, 0, 0, 1, 0, 0, 0, 1};
    struct Case { const double* m; std::uint8_t in[3], out[3]; const char* what; } cases[] = {
        // Pixels are blue, green, red.
        {kDefault, {50, 100, 200}, {28, 104, 255}, "worked example, red 260.95 limited"},
        {kDefault, {99, 99, 99}, {98, 98, 99}, "grey: 98.999... and 98.901 truncate"},
        {kDefault, {100, 100, 100}, {100, 99, 100}, "grey 100: green row sums to 0.999"},
        {kDefault, {255, 255, 255}, {255, 254, 255}, "white"},
        {kRotate, {10, 20, 30}, {20, 30, 10}, "rows and columns"},
        {kOrder, {131, 105, 115}, {184, 105, 115}, "summation order"},
        {kTruncate, {200, 60, 255}, {255, 0, 254}, "254.745 truncates; -60 and 300 limited"},
        {kNotANumber, {1, 2, 3}, {1, 2, 0}, "not a number gives 0"},
    };
    for (const Case& c : cases) {
        std::uint8_t px[3] = {c.in[0], c.in[1], c.in[2]};
        ColourMatrix(px, 1, 1, c.m);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(px[k], c.out[k]) << c.what << ", byte " << k;
    }
}

TEST(ColourMatrix, IdentityLeavesThePlane) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> plane(53 * 29 * 3);
    for (auto& b : plane) b = static_cast<std::uint8_t>(rng());
    const std::vector<std::uint8_t> before = plane;
    ColourMatrix(plane.data(), 53, 29, kIdentity);
    EXPECT_EQ(plane, before);
}

TEST(ColourMatrix, RefusesPlanesBeyondTheScratchBuffer) {
    std::uint8_t px[3] = {10, 20, 30};
    ColourMatrix(px, 1281, 960, kDefault);
    ColourMatrix(px, -1, 1, kDefault);
    EXPECT_EQ(px[0], 10);
    EXPECT_EQ(px[1], 20);
    EXPECT_EQ(px[2], 30);
}

}  // namespace
