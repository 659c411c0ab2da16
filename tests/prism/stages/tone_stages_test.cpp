// Letter tone stages E, F, J, L: worked values, the tables against curves
// written out here from their definitions, and settings outside the ranges.
#include "stages/tone_stages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "letter_params.h"

namespace {

// A 256 x 1 plane whose pixel i holds (i, 255 - i, (i * 7) & 255), so every
// value passes through every channel once.
std::vector<std::uint8_t> AllValuesPlane() {
    std::vector<std::uint8_t> plane(256 * 3);
    for (int i = 0; i < 256; ++i) {
        plane[3 * i] = static_cast<std::uint8_t>(i);
        plane[3 * i + 1] = static_cast<std::uint8_t>(255 - i);
        plane[3 * i + 2] = static_cast<std::uint8_t>((i * 7) & 255);
    }
    return plane;
}

// Rounding of the tone tables: truncate, then +1 only above an exact half;
// here also limited to 0..255 as the stages write it.
int RoundEntry(double v) {
    if (std::isnan(v) || v <= 0) return 0;
    if (v >= 255) return 255;
    const int t = static_cast<int>(v);
    return v - t > 0.5 ? t + 1 : t;
}

std::vector<int> GammaCurve(double g) {
    std::vector<int> t(256);
    for (int i = 0; i < 256; ++i) t[i] = RoundEntry(std::pow(i, g) * std::pow(255.0, 1 - g));
    return t;
}

std::vector<int> SGammaCurve(double g, double s, double left) {
    const int n = static_cast<int>(left * 256);
    const int m = 256 - n;
    double d[256];
    for (int i = 0; i < n; ++i) d[i] = std::pow(i, s) * std::pow(n - 1.0, 1 - s);
    for (int i = n; i < 256; ++i) d[i] = 255 - std::pow(255 - i, s) * std::pow(m - 1.0, 1 - s);
    std::vector<int> t(256);
    for (int i = 0; i < 256; ++i) {
        double v = std::pow(i, g) * std::pow(255.0, 1 - g);
        if (i != 0) v = v * d[i] / i;
        t[i] = RoundEntry(v);
    }
    return t;
}

// Every byte of AllValuesPlane() must have gone through the table.
void ExpectMapped(const std::vector<std::uint8_t>& plane, const std::vector<int>& table, const char* what) {
    const std::vector<std::uint8_t> in = AllValuesPlane();
    for (std::size_t k = 0; k < in.size(); ++k)
        ASSERT_EQ(plane[k], table[in[k]]) << what << ": byte " << k << " was " << int(in[k]);
}

TEST(LetterTone, GammaWorkedValues) {
    struct Case { double g; int in; int out; } cases[] = {
        {0.7, 128, 157}, {0.7, 0, 0}, {0.7, 255, 255}, {1.0, 77, 77}, {2.0, 128, 64},
    };
    for (const Case& c : cases) {
        std::uint8_t px[3] = {std::uint8_t(c.in), std::uint8_t(c.in), std::uint8_t(c.in)};
        LetterGamma(px, 1, 1, c.g);
        EXPECT_EQ(px[0], c.out) << "gamma " << c.g << " of " << c.in;
        EXPECT_EQ(px[1], c.out);
        EXPECT_EQ(px[2], c.out);
    }
}

TEST(LetterTone, GammaTablesFollowTheCurve) {
    for (double g : {0.45, 0.7, 1.0, 1.6, 2.2}) {
        std::vector<std::uint8_t> plane = AllValuesPlane();
        LetterGamma(plane.data(), 16, 16, g);
        ExpectMapped(plane, GammaCurve(g), "gamma");
    }
}

TEST(LetterTone, SGammaTablesFollowTheCurve) {
    struct Case { double g, s, left; } cases[] = {
        {0.8, 1.0, 0.5}, {0.8, 1.5, 0.5}, {0.7, 2.0, 0.3}, {1.0, 0.6, 0.75}, {0.9, 3.0, 0.1},
        {0.1, 3.0, 0.25},  // entries above 255 are written as 255
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> plane = AllValuesPlane();
        LetterSGamma(plane.data(), 256, 1, c.g, c.s, c.left);
        ExpectMapped(plane, SGammaCurve(c.g, c.s, c.left), "s-gamma");
    }
}

TEST(LetterTone, SGammaWithStraightCurveIsTheGammaAlone) {
    for (double left : {0.0, 0.2, 0.5, 0.9, 1.0}) {
        std::vector<std::uint8_t> plane = AllValuesPlane();
        LetterSGamma(plane.data(), 256, 1, 0.8, 1.0, left);
        ExpectMapped(plane, GammaCurve(0.8), "straight s-curve");
    }
}

// Settings outside their ranges give the outcomes chosen for them.
TEST(LetterTone, SGammaSettingsOutsideTheirRanges) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { double g, s, left; std::vector<int> expected; const char* what; } cases[] = {
        {0.8, 2.0, 1.7, SGammaCurve(0.8, 2.0, 1.0), "split above 1 acts as 1"},
        {0.8, 2.0, -3.0, SGammaCurve(0.8, 2.0, 0.0), "split below 0 acts as 0"},
        {0.8, 2.0, nan, SGammaCurve(0.8, 2.0, 0.0), "split not a number acts as 0"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> plane = AllValuesPlane();
        LetterSGamma(plane.data(), 256, 1, c.g, c.s, c.left);
        ExpectMapped(plane, c.expected, c.what);
    }
    // An upper part of one entry keeps its end point: 255 stays 255.
    for (double s : {0.5, 3.0}) {
        std::uint8_t px[3] = {255, 255, 255};
        LetterSGamma(px, 1, 1, 1.0, s, 255.0 / 256);
        EXPECT_EQ(px[0], 255) << "s " << s;
    }
}

// Exponents that make no curve leave the plane as it is.
TEST(LetterTone, GammaExponentsThatMakeNoCurve) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double g : {0.0, -1.0, -inf, inf, std::numeric_limits<double>::quiet_NaN()}) {
        std::vector<std::uint8_t> plane = AllValuesPlane();
        LetterGamma(plane.data(), 256, 1, g);
        ASSERT_EQ(plane, AllValuesPlane()) << "gamma " << g;
    }
}

TEST(LetterTone, Shift) {
    struct Case { int shift; int in; int out; } cases[] = {
        {-10, 0, 0}, {-10, 10, 0}, {-10, 11, 1}, {-10, 255, 245},
        {50, 204, 254}, {50, 205, 255}, {50, 255, 255}, {50, 0, 50},
        {0, 123, 123}, {INT_MAX, 0, 255}, {INT_MIN, 255, 0},
    };
    for (const Case& c : cases) {
        CLetterParams p;
        p.Shift = c.shift;
        std::uint8_t px[6] = {std::uint8_t(c.in), std::uint8_t(c.in), std::uint8_t(c.in), 0, 128, 255};
        LetterShift(p, px, 2, 1);
        EXPECT_EQ(px[0], c.out) << "shift " << c.shift << " of " << c.in;
        EXPECT_EQ(px[1], c.out);
        EXPECT_EQ(px[2], c.out);
    }
}

TEST(LetterTone, RgbWeight) {
    struct Case { int r, g, b; std::uint8_t in[3], out[3]; } cases[] = {
        // Pixels are blue, green, red.
        {500, 1000, 1000, {255, 255, 255}, {255, 255, 128}},  // 127.5 rounds up
        {500, 1000, 1000, {1, 1, 1}, {1, 1, 1}},              // 0.5 rounds up too
        {1000, 1200, 1000, {0, 100, 0}, {0, 120, 0}},
        {1000, 1200, 1000, {0, 212, 0}, {0, 254, 0}},
        {1000, 1200, 1000, {0, 213, 0}, {0, 255, 0}},         // 255.6 -> 256, capped
        {1000, 1000, 333, {200, 200, 200}, {67, 200, 200}},   // 66.6 -> 67
        {-500, 1000, 2000000000, {200, 200, 200}, {255, 200, 0}},
    };
    for (const Case& c : cases) {
        CLetterParams p;
        p.WeightR = c.r;
        p.WeightG = c.g;
        p.WeightB = c.b;
        std::uint8_t px[3] = {c.in[0], c.in[1], c.in[2]};
        RgbWeight(p, px, 1, 1);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(px[k], c.out[k]) << "weights " << c.r << "/" << c.g << "/" << c.b << " byte " << k;
    }
}

TEST(LetterTone, EmptyOrNegativeSizesLeaveThePlane) {
    CLetterParams p;
    p.Shift = 50;
    std::uint8_t px[3] = {1, 2, 3};
    LetterShift(p, px, 0, 5);
    LetterGamma(px, -1, 1, 0.5);
    RgbWeight(p, px, 1, -3);
    EXPECT_EQ(px[0], 1);
    EXPECT_EQ(px[1], 2);
    EXPECT_EQ(px[2], 3);
}

}  // namespace
