// Raw-plane auto white balance against a plain reference and worked examples.
#include "rawstages/auto_white_balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "raw_reference.h"
#include "stage_params.h"

namespace {

using rawref::Plane;

struct Trace {
    bool largeColour = false;  // the large-colour rule fired
    bool valueLimit = false;   // some colour took its value limit
    int hi[3], lo[3];
};

// The eleven steps, as described, for settings within their dialog ranges.
Plane ReferenceBalance(const Plane& raw, int w, int h, const CStageParams& p, Trace& trace) {
    using namespace rawref;
    int H[3][256];
    const int n = StatisticsHistograms(StatisticsImage(raw, w, h), p.AWB_Overflow, H);
    const int T = RoundedRatio(p.AWB_Percent_R, n, 1000);
    for (int c = 0; c < 3; ++c) {
        trace.hi[c] = TopSearch(H[c], T, p.AWB_Noise);
        trace.lo[c] = BottomSearch(H[c], T, p.AWB_Noise);
    }
    int S[3] = {0, 0, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) S[ColourAt(y, x)] += raw[std::size_t(y) * w + x];
    S[kGreen] /= 2;
    const int smax = std::max({S[0], S[1], S[2]}), smin = std::min({S[0], S[1], S[2]});
    if (smax == 0) return raw;  // black frame: left as it is

    int white[3], out[3];
    int dmax = -999, dmin = 999;
    for (int c = 0; c < 3; ++c) {
        dmax = std::max(dmax, trace.hi[c] - trace.lo[c]);
        dmin = std::min(dmin, trace.hi[c] - trace.lo[c]);
    }
    if (p.AWB_LargeColor != 0.0 && p.AWB_LargeSub != 0 && dmin * p.AWB_LargeColor < dmax &&
        dmin <= p.AWB_LargeSub) {
        trace.largeColour = true;
        return raw;
    }
    int W = 0;
    for (int c = 0; c < 3; ++c) {
        const double A = S[c] * 255.0 / smax;
        double v = trace.hi[c] * (1 - p.AWB_Average) + A * p.AWB_Average;
        if (v > 255) v = 255;
        white[c] = int(v);
        W = std::max(W, white[c]);
    }
    for (int c = 0; c < 3; ++c) {
        out[c] = W;
        if (p.AWB_ValueLimit != 0.0) {
            const int lim = int(trace.lo[c] + (white[c] - trace.lo[c]) * p.AWB_ValueLimit);
            if (lim <= W) out[c] = lim, trace.valueLimit = true;
        }
        if (p.AWB_Type != 0) {
            const int mid = (smin + 2 * smax) / 3;
            out[c] = int(std::llround(double(out[c]) * mid / smax));  // halves away from 0
        }
    }
    std::uint8_t table[3][256];
    for (int c = 0; c < 3; ++c) {
        const int hw = white[c], o = out[c];
        for (int i = 0; i <= hw; ++i)
            table[c][i] = std::uint8_t(std::min(255, i * (o + 1) / (hw + 1)));
        for (int i = hw + 1; i <= 255; ++i)
            table[c][i] = std::uint8_t(std::min(255, o + (256 - o) * (i - hw) / (256 - hw)));
    }
    Plane result = raw;
    // Green on even rows, blue, red, green on odd rows, two bytes at a time.
    const int walks[4][3] = {{0, 0, kGreen}, {0, 1, kBlue}, {1, 0, kRed}, {1, 1, kGreen}};
    for (const auto& walk : walks)
        for (int y = walk[0]; y < h; y += 2)
            for (int x = walk[1]; x < w; x += 2) {
                std::uint8_t& s = result[std::size_t(y) * w + x];
                s = table[walk[2]][s];
            }
    return result;
}

Plane Balanced(Plane raw, int w, int h, const CStageParams& p) {
    AutoWhiteBalance(p, raw.data(), w, h);
    return raw;
}

// Left half of the plane with one value per colour, right half with another
// (red, green, blue). With noise above the few mixed border pixels, each
// colour's white point is one below its right value and its dark point one
// above its left value.
Plane TwoRegionPlane(int w, int h, const int (&left)[3], const int (&right)[3]) {
    Plane p(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p[std::size_t(y) * w + x] =
                std::uint8_t((x < w / 2 ? left : right)[rawref::ColourAt(y, x)]);
    return p;
}

CStageParams RegionParams() {
    CStageParams p;
    p.AWB_Noise = 600;
    p.AWB_Percent_R = 1;
    p.AWB_LargeColor = 0;
    p.AWB_ValueLimit = 0;
    p.AWB_Average = 0;
    p.AWB_Type = 0;
    return p;
}

}  // namespace

TEST(AutoWhiteBalance, TableFollowsTheWorkedExample) {
    ToneTable t;
    BuildWhitePointTable(200, 255, t);
    EXPECT_EQ(t[100], 127);
    EXPECT_EQ(t[200], 254);
    for (int i = 201; i < 256; ++i) EXPECT_EQ(t[i], 255) << i;
    // White points outside 0..255 still give a full table of bytes.
    const int extremes[][2] = {{-5, 100}, {300, 200}, {0, -50}, {255, 1000}, {-1, -1}};
    for (const auto& e : extremes) {
        BuildWhitePointTable(e[0], e[1], t);
        for (int i = 0; i < 256; ++i) EXPECT_TRUE(t[i] >= 0 && t[i] <= 255) << e[0] << "," << e[1];
    }
}

TEST(AutoWhiteBalance, MatchesTheReferenceOnRandomFrames) {
    std::mt19937 rng(5);
    int fired = 0, limited = 0, changed = 0;
    for (int round = 0; round < 300; ++round) {
        const int w = 6 + int(rng() % 40), h = 6 + int(rng() % 30);
        const Plane raw = rawref::RandomScenePlane(rng, w, h);
        CStageParams p;
        p.AWB_Overflow = 200 + int(rng() % 56);
        p.AWB_Noise = int(rng() % 3) * int(rng() % 4);
        p.AWB_Percent_R = int(rng() % 4) * int(rng() % 60);
        p.AWB_LargeColor = (rng() % 4) ? 1 + (rng() % 9) * 0.5 : 0.0;
        p.AWB_LargeSub = (rng() % 4) ? 20 + int(rng() % 71) : 0;
        p.AWB_ValueLimit = (rng() % 3) ? 1 + (rng() % 9) * 0.5 : 0.0;
        p.AWB_Average = (rng() % 5) * 0.25;
        p.AWB_Type = int(rng() % 2);
        Trace trace;
        const Plane expected = ReferenceBalance(raw, w, h, p, trace);
        ASSERT_EQ(Balanced(raw, w, h, p), expected) << "round " << round;
        fired += trace.largeColour;
        limited += trace.valueLimit;
        changed += expected != raw;
    }
    // The random settings must have reached every branch.
    EXPECT_GT(fired, 10);
    EXPECT_GT(limited, 10);
    EXPECT_GT(changed, 100);
}

TEST(AutoWhiteBalance, LargeColourRuleKeepsADominatedSceneUnchanged) {
    struct Frame { int right[3]; int spreads[3]; };  // red, green, blue
    const Frame frames[] = {{{162, 112, 142}, {60, 10, 40}}, {{127, 112, 122}, {25, 10, 20}}};
    struct Case { int frame; double largeColour; int largeSub; bool unchanged; };
    const Case cases[] = {
        {0, 2.5, 50, true},   {0, 2.5, 10, true},  // 10 x 2.5 < 60 and 10 <= 50, 10 <= 10
        {0, 2.5, 9, false},   {0, 2.5, 0, false}, {0, 0.0, 50, false},  // too small; off; off
        {1, 2.5, 50, false},  {1, 2.4, 50, true},  // 25 is not below 25; 24 is
    };
    for (const Case& c : cases) {
        const Frame& f = frames[c.frame];
        const Plane raw = TwoRegionPlane(64, 64, {100, 100, 100}, f.right);
        CStageParams p = RegionParams();
        p.AWB_LargeColor = c.largeColour;
        p.AWB_LargeSub = c.largeSub;
        Trace trace;
        ReferenceBalance(raw, 64, 64, p, trace);
        for (int colour = 0; colour < 3; ++colour)
            ASSERT_EQ(trace.hi[colour] - trace.lo[colour], f.spreads[colour])
                << "frame " << c.frame;
        EXPECT_EQ(Balanced(raw, 64, 64, p) == raw, c.unchanged)
            << "frame " << c.frame << " AWB_LargeColor " << c.largeColour << " AWB_LargeSub "
            << c.largeSub;
    }
}

TEST(AutoWhiteBalance, ValueLimitCapsTheStretchOfANarrowColour) {
    // Red: dark point 20, white point 100; green and blue: 20 and 220 (W).
    // Red samples of 101 on the right land on the red target.
    const Plane raw = TwoRegionPlane(64, 64, {19, 19, 19}, {101, 221, 221});
    CStageParams p = RegionParams();
    struct Case { double valueLimit; int red; };
    const Case cases[] = {{0.0, 220}, {2.0, 180}, {1.0, 101}};
    for (const Case& c : cases) {
        p.AWB_ValueLimit = c.valueLimit;
        const Plane out = Balanced(raw, 64, 64, p);
        // An odd row, even column inside the right half: a red site.
        EXPECT_EQ(out[33 * 64 + 40], c.red) << "AWB_ValueLimit " << c.valueLimit;
    }
}

TEST(AutoWhiteBalance, BlackFrameStaysBlack) {
    const Plane raw(64 * 48, 0);
    CStageParams p;
    for (double largeColour : {2.5, 0.0}) {
        p.AWB_LargeColor = largeColour;
        EXPECT_EQ(Balanced(raw, 64, 48, p), raw) << "AWB_LargeColor " << largeColour;
    }
}
