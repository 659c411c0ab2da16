// Shared curve maths: the power curve's rule for settings that make no curve,
// its overflow fallback, and the S-curve's fixed points.
#include "tone_curve_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(ToneCurveMath, PowerCurveIsStraightWhereTheSettingsMakeNoCurve) {
    struct Case { int top; double exponent; } cases[] = {
        {255, 0.0}, {255, -0.5}, {255, -kInf}, {255, kInf}, {255, kNan},
        {0, 2.0}, {0, 0.5}, {-1, 3.0},  // one entry, or none
    };
    for (const Case& c : cases) {
        const PowerCurve curve(c.top, c.exponent);
        for (int i = 0; i <= std::max(c.top, 0); ++i)
            ASSERT_EQ(curve(i), i) << "top " << c.top << " exponent " << c.exponent;
    }
}

TEST(ToneCurveMath, PowerCurveKeepsItsEndsAndStaysInRange) {
    // 255^1e-300 is 1 and 255^200 overflows: the curve goes on as
    // top * (i / top)^e, rising from 0 to top.
    for (double exponent : {1e-300, 0.45, 1.0, 2.2, 200.0, 1e300}) {
        for (int top : {1, 2, 50, 127, 255}) {
            const PowerCurve curve(top, exponent);
            EXPECT_EQ(curve(0), 0.0) << top << " " << exponent;
            EXPECT_NEAR(curve(top), top, 1e-12 * top) << top << " " << exponent;
            for (int i = 1; i <= top; ++i) {
                ASSERT_TRUE(std::isfinite(curve(i)) && curve(i) >= curve(i - 1) - 1e-12)
                    << "top " << top << " exponent " << exponent << " at " << i;
                ASSERT_LE(curve(i), top * (1 + 1e-12));
            }
        }
    }
    EXPECT_NEAR(PowerCurve(255, 200.0)(250), 255 * std::pow(250.0 / 255, 200.0), 1e-9);
}

TEST(ToneCurveMath, SCurveFixesBothEndsAndTheSplit) {
    struct Case { int size, split; double s; } cases[] = {
        {256, 128, 2.0}, {256, 1, 3.0}, {256, 255, 0.4}, {201, 100, 1.7}, {51, 0, 2.0},
        {51, 51, 2.0}, {51, 26, -1.0},
    };
    for (const Case& c : cases) {
        double curve[256];
        BuildSCurve(curve, c.size, c.split, c.s);
        EXPECT_EQ(curve[0], 0.0) << c.size << "/" << c.split << "/" << c.s;
        EXPECT_NEAR(curve[c.size - 1], c.size - 1, 1e-9);
        if (c.split > 0) {
            EXPECT_NEAR(curve[c.split - 1], c.split - 1, 1e-9);
        }
        if (c.split < c.size) {
            EXPECT_NEAR(curve[c.split], c.split, 1e-9);
        }
        for (int i = 1; i < c.size; ++i) ASSERT_GE(curve[i], curve[i - 1]) << i;
    }
}

}  // namespace

TEST(ToneCurveMath, KeptGammaTablesAreTheComputedOnes) {
    // Repeats, more exponents than are kept, neighbours one bit apart, and
    // exponents that make no curve.
    const double exponents[] = {0.45, 0.7,  0.45, 1.0,  2.2, 0.8,  0.45, std::nextafter(0.7, 1.0),
                                0.7,  kNan, kNan, -0.0, 0.0, 0.45, 2.2,  0.8};
    for (double g : exponents) {
        ToneTable kept, computed;
        BuildGammaTable(kept, g);
        BuildPlainGammaTable(computed, g);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(kept[i], computed[i]) << "gamma " << g << " entry " << i;
    }
}
