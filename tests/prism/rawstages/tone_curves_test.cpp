// Tone curves: gamma, shift, per-colour gamma and the S-gamma anti-over.
#include "rawstages/tone_curves.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

#include "raw_reference.h"
#include "stage_params.h"
#include "tone_curve_math.h"

namespace {

using rawref::Plane;

// S-gamma anti-over table as described, for parts of two entries or more;
// entries above 255 are written as 255.
void ReferenceSGamma(int M, double g, double S, double GL, int (&table)[256]) {
    for (int i = 0; i < 256; ++i) table[i] = i;
    if (M == 0) return;
    const int L = int(M * GL), n = M - L;
    double D[256], U[256];
    const double lowFactor = std::pow(L - 1, 1 - S), highFactor = std::pow(n - 1, 1 - S);
    for (int i = 0; i < L; ++i) D[i] = std::pow(i, S) * lowFactor;
    for (int j = 0; j < n; ++j) U[j] = std::pow(j, S) * highFactor;
    for (int i = L; i < M; ++i) D[i] = (M - 1) - U[M - 1 - i];
    const double K = std::pow(M - 1, 1 - g);
    for (int i = 0; i < M; ++i) {
        double v = std::pow(i, g) * K;
        if (i != 0) v = v * D[i] / i;
        table[i] = std::min(255, rawref::Round(v));
    }
}

int Gamma(int i, double g) { return rawref::Round(std::pow(i, g) * std::pow(255, 1 - g)); }

}  // namespace

TEST(ToneCurves, GammaTableFollowsTheWorkedValues) {
    struct Case { double exponent; int in, out; };
    const Case cases[] = {{1.0, 128, 128}, {0.7, 128, 157}, {0.7, 0, 0}, {0.7, 255, 255},
                          {2.2, 128, 56}};
    ToneTable t;
    for (const Case& c : cases) {
        BuildGammaTable(t, c.exponent);
        EXPECT_EQ(t[c.in], c.out) << "gamma " << c.exponent << " of " << c.in;
    }
    // Exponents that make no curve give the identity; huge ones stay bytes.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double exponent : {0.0, -1.0, nan}) {
        BuildGammaTable(t, exponent);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i) << exponent;
    }
    BuildGammaTable(t, 500);  // i^500 overflows, yet the curve keeps its shape
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 255);
    for (int i = 1; i < 256; ++i) ASSERT_LE(t[i - 1], t[i]) << i;
}

TEST(ToneCurves, PlaneStagesRewriteTheirSamples) {
    // RawGamma: every raw sample; RgbGamma: every byte; RawShift: limited sum.
    Plane raw(256);
    for (int i = 0; i < 256; ++i) raw[i] = std::uint8_t(i);
    CStageParams p;
    p.Gamma = 0.6;
    p.GammaAfter = 1.8;
    Plane gamma = raw, after = raw;
    RawGamma(p, gamma.data(), 16, 16);
    RgbGamma(p, after.data(), 16, 16 / 3);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(gamma[i], Gamma(i, 0.6)) << i;
        if (i < 16 * 5 * 3) EXPECT_EQ(after[i], Gamma(i, 1.8)) << i;
        else EXPECT_EQ(after[i], i) << "beyond the plane";
    }
    struct Case { int shift, in, out; };
    const Case cases[] = {{-10, 0, 0},    {-10, 10, 0},   {-10, 11, 1},  {50, 204, 254},
                          {50, 205, 255}, {50, 255, 255}, {INT_MAX, 255, 255}, {INT_MIN, 255, 0}};
    for (const Case& c : cases) {
        p.Shift = c.shift;
        Plane s = raw;
        RawShift(p, s.data(), 16, 16);
        EXPECT_EQ(s[c.in], c.out) << "shift " << c.shift << " of " << c.in;
    }
}

TEST(ToneCurves, RgbGammaChangesOnlyTheSitesOfItsColour) {
    std::mt19937 rng(2);
    const Plane raw = rawref::RandomScenePlane(rng, 20, 14);
    struct Case { int r, g, b; };
    const Case cases[] = {{1000, 1000, 1000}, {800, 1000, 1000}, {1000, 1300, 1000},
                          {1000, 1000, 500}, {700, 900, 1100}};
    for (const Case& c : cases) {
        CStageParams p;
        p.WeightR = c.r, p.WeightG = c.g, p.WeightB = c.b;
        Plane out = raw;
        RawRgbGamma(p, out.data(), 20, 14);
        const int weights[3] = {c.r, c.g, c.b};  // red, green, blue
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 20; ++x) {
                const int weight = weights[rawref::ColourAt(y, x)];
                const int in = raw[y * 20 + x];
                const int expected = weight == 1000 ? in : Gamma(in, weight * 0.001);
                ASSERT_EQ(out[y * 20 + x], expected) << c.r << "/" << c.g << "/" << c.b;
            }
    }
}

TEST(ToneCurves, SGammaTableMatchesThePlainSteps) {
    ToneTable t;
    int reference[256];
    BuildAntiOverTable(201, 1.0, 1.0, 0.5, t);  // L = 100, straight S-curve and gamma
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i);
    // First cases whose exact values are halves (64: entry 9 is 13.5), where
    // dividing before multiplying would round the other way.
    const double ties[][4] = {{64, 0.46, 1.5, 0.5}, {173, 0.26, 0.5, 1.5}, {170, 0.857, 1.5, 0.5}};
    std::mt19937 rng(4);
    for (int round = 0; round < 2000; ++round) {
        int M = 4 + int(rng() % 252);
        double GL = (2.0 + rng() % (M - 3)) / M;  // both parts of 2 entries or more
        double S = 0.3 + (rng() % 1000) * 0.003, g = 0.3 + (rng() % 1000) * 0.002;
        if (round < 3) {
            M = int(ties[round][0]), GL = ties[round][1];
            S = ties[round][2], g = ties[round][3];
        }
        BuildAntiOverTable(M, g, S, GL, t);
        ReferenceSGamma(M, g, S, GL, reference);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(t[i], reference[i]) << "M " << M << " L " << GL << " S " << S << " g " << g
                                          << " entry " << i;
    }
}

TEST(ToneCurves, SGammaSettingsOutsideTheirRangesStillGiveATable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { int M; double g, S, GL; };
    const Case cases[] = {{200, 0.8, 1.5, 1.5},  {200, 0.8, 1.5, -0.5}, {200, 0.8, 1.5, nan},
                          {200, 0.8, 1.5, 1e300}, {200, 0.8, 3.0, 0.005}, {200, 0.8, 3.0, 0.999},
                          {200, 0.8, 0.0, 0.5},  {200, 0.8, -1.0, 0.5}, {200, 0.0, 1.5, 0.5},
                          {200, -2.0, 1.5, 0.5}, {200, nan, 1.5, 0.5},  {200, 500, 600, 0.5},
                          {1, 3.0, 3.0, 0.5},    {256, 0.8, 1.5, 0.5}};
    ToneTable t;
    for (const Case& c : cases) {
        BuildAntiOverTable(c.M, c.g, c.S, c.GL, t);
        for (int i = 0; i < 256; ++i) {
            ASSERT_TRUE(t[i] >= 0 && t[i] <= 255) << "M " << c.M << " entry " << i;
            if (i >= c.M) {
                ASSERT_EQ(t[i], i) << "M " << c.M << " entry " << i;
            }
        }
    }
    // A split beyond the white level is the split at the white level.
    ToneTable atTop;
    BuildAntiOverTable(200, 0.8, 1.5, 1.0, atTop);
    BuildAntiOverTable(200, 0.8, 1.5, 1.7, t);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], atTop[i]) << i;
}

TEST(ToneCurves, SGammaAntiOverShapesBelowTheFrameWhiteLevel) {
    std::mt19937 rng(6);
    for (int round = 0; round < 30; ++round) {
        const int w = 6 + int(rng() % 60), h = 6 + int(rng() % 40);
        const Plane raw = rawref::RandomScenePlane(rng, w, h);
        CStageParams p;
        p.AWB_Overflow = 200 + int(rng() % 56);
        p.AWB_Percent_R = int(rng() % 30);
        p.AWB_Noise = int(rng() % 3);
        p.Gamma2 = 0.5 + (rng() % 100) * 0.01;
        p.GammaS = 0.5 + (rng() % 100) * 0.02;
        p.GammaL = 0.2 + (rng() % 60) * 0.01;
        int H[3][256];
        const int n = rawref::StatisticsHistograms(rawref::StatisticsImage(raw, w, h),
                                                   p.AWB_Overflow, H);
        const int T = rawref::RoundedRatio(p.AWB_Percent_R, n, 1000);
        int M = 0;
        for (const auto& histogram : H)
            M = std::max(M, rawref::TopSearch(histogram, T, p.AWB_Noise));
        int table[256];
        ReferenceSGamma(M, p.Gamma2, p.GammaS, p.GammaL, table);
        Plane out = raw;
        SGammaAntiOver(p, out.data(), w, h);
        for (std::size_t i = 0; i < raw.size(); ++i)
            ASSERT_EQ(out[i], table[raw[i]]) << "round " << round << " sample " << i;
    }
}
