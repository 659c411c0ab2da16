// Raw-plane auto level against a plain reference and worked examples.
#include "rawstages/auto_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "raw_reference.h"
#include "stage_params.h"

namespace {

using rawref::Plane;

struct Trace {
    int black, white, excluded;
};

// The seven steps, as described, for settings within their dialog ranges.
Plane ReferenceLevel(const Plane& raw, int w, int h, const CStageParams& p, Trace& trace) {
    const int t = p.AL_Percent_R != 0 ? p.AL_Overflow : 255;
    auto P = [&](int r, int c) { return int(raw[std::size_t(r) * w + c]); };
    int H[3][256] = {};
    int excluded[3] = {};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int up = std::max(y - 1, 1), down = std::min(y + 1, h - 2);
            const int left = std::max(x - 1, 1), right = std::min(x + 1, w - 2);
            const int vertical = (P(up, x) + P(down, x)) / 2;
            const int horizontal = (P(y, left) + P(y, right)) / 2;
            const int diagonal = (P(down, right) + P(down, left) + P(up, right) + P(up, left)) / 4;
            const int cross = (P(y, right) + P(y, left) + P(up, x) + P(down, x)) / 4;
            int first, second;
            const rawref::Colour site = rawref::ColourAt(y, x);
            if (site == rawref::kGreen && y % 2 == 0) first = vertical, second = horizontal;
            else if (site == rawref::kBlue) first = diagonal, second = cross;
            else if (site == rawref::kGreen) first = horizontal, second = vertical;
            else first = cross, second = diagonal;
            const int c = P(y, x);
            if ((c > t) + (first > t) + (second > t) >= 2) ++excluded[site];
            else ++H[site][c];
        }
    trace.excluded = excluded[0] + excluded[1] + excluded[2];
    const int n = 307200 - trace.excluded;
    auto bin = [&](int i) { return H[0][i] + H[1][i] + H[2][i]; };
    int L = 0, R = 255;
    if (p.AL_Percent_L != 0) {
        const int target = rawref::RoundedRatio(n, p.AL_Percent_L, 1000);
        int sum = 0;
        L = -1;
        for (int i = 0; i <= 254; ++i) {
            if (bin(i) > p.AL_Noise) sum += bin(i);
            if (sum >= target) { L = i; break; }
        }
        L = std::min(L, p.AL_Limit_L);
    }
    if (p.AL_Percent_R != 0) {
        const int target = rawref::RoundedRatio(n, p.AL_Percent_R, 1000);
        int sum = 0;
        R = -1;
        for (int i = t; i >= 1; --i) {
            if (bin(i) > p.AL_Noise) sum += bin(i);
            if (sum >= target) { R = i; break; }
        }
        R = std::max(R, p.AL_Limit_R);
    }
    trace.black = L, trace.white = R;
    Plane out = raw;
    for (std::uint8_t& s : out) {
        const int i = s;
        double v = i <= R ? std::max(i - L, 0) * double(t) / (R - L)
                          : (i - R) * (256.0 - t) / (256 - R) + t;
        if (v - int(v) > 0.5) v += 1;
        if (v > 255) v = 255;
        s = std::uint8_t(int(v));
    }
    return out;
}

Plane Levelled(Plane raw, int w, int h, const CStageParams& p) {
    AutoLevel(p, raw.data(), w, h);
    return raw;
}

}  // namespace

TEST(AutoLevel, TableFollowsTheWorkedExample) {
    ToneTable t;
    BuildAutoLevelTable(10, 210, 251, t);
    const int cases[][2] = {{0, 0}, {10, 0}, {110, 125}, {210, 251}, {211, 251}, {255, 255}};
    for (const auto& c : cases) EXPECT_EQ(t[c[0]], c[1]) << "entry " << c[0];
    // No range to stretch (white at or below black): the identity.
    for (const auto& points : {std::pair{50, 50}, std::pair{100, 20}}) {
        BuildAutoLevelTable(points.first, points.second, 251, t);
        for (int i = 0; i < 256; ++i) ASSERT_EQ(t[i], i) << points.first << "," << points.second;
    }
}

TEST(AutoLevel, MatchesTheReferenceOnRandomFrames) {
    std::mt19937 rng(9);
    int blackFound = 0, whiteFound = 0, excluded = 0;
    for (int round = 0; round < 40; ++round) {
        const int w = 8 + int(rng() % 313), h = 8 + int(rng() % 233);
        const Plane raw = rawref::RandomScenePlane(rng, w, h);
        CStageParams p;
        p.AL_Overflow = 200 + int(rng() % 56);
        p.AL_Noise = int(rng() % 3) * int(rng() % 30);
        p.AL_Percent_L = int(rng() % 4) * int(rng() % 100);
        p.AL_Limit_L = int(rng() % 71);
        p.AL_Percent_R = int(rng() % 4) * int(rng() % 100);
        p.AL_Limit_R = 180 + int(rng() % 76);
        Trace trace;
        const Plane expected = ReferenceLevel(raw, w, h, p, trace);
        ASSERT_EQ(Levelled(raw, w, h, p), expected) << "round " << round;
        blackFound += trace.black >= 0 && trace.black < p.AL_Limit_L;
        whiteFound += trace.white > p.AL_Limit_R;
        excluded += trace.excluded > 0;
    }
    EXPECT_GT(blackFound, 3);
    EXPECT_GT(whiteFound, 3);
    EXPECT_GT(excluded, 3);
}

TEST(AutoLevel, TargetsComeFromThePlaneCapacityWhateverTheFrameSize) {
    // 320 x 240: 200 samples of 5, the rest 100. From 307200 pixels the black
    // target is 307, so the black point is 100, limited to 30 (100 -> 98);
    // from the frame's own 76800 it would be 77 and the black point 5 (-> 116).
    Plane raw(320 * 240, 100);
    std::fill(raw.begin(), raw.begin() + 200, 5);
    CStageParams p;
    const Plane out = Levelled(raw, 320, 240, p);
    EXPECT_EQ(out[1000], 98);
    EXPECT_EQ(out[0], 0);
}

TEST(AutoLevel, WhitePointSearchStartsAtTheThreshold) {
    // 400 lone samples of 255 (counted: their estimates stay low) above 400
    // lone samples of 230, in a field of 150. Starting at 251 the white point
    // is 230 (-> 251); starting at 255 it would be 255 (230 -> 223).
    Plane raw(320 * 240, 150);
    for (int y = 0; y < 240; y += 12)
        for (int x = 0; x < 320; x += 16) {
            raw[y * 320 + x] = 255;
            raw[(y + 6) * 320 + x + 8] = 230;
        }
    CStageParams p;
    const Plane out = Levelled(raw, 320, 240, p);
    EXPECT_EQ(out[6 * 320 + 8], 251);
    EXPECT_EQ(out[0], 255);
}

TEST(AutoLevel, ZeroPercentsOrNoRangeLeaveThePlaneUnchanged) {
    std::mt19937 rng(1);
    const Plane random = rawref::RandomScenePlane(rng, 64, 48);
    CStageParams p;
    p.AL_Percent_L = 0;
    p.AL_Percent_R = 0;
    EXPECT_EQ(Levelled(random, 64, 48, p), random);

    // White point at or below the black point: nothing to stretch. The few
    // samples of 240 would move if a table were built.
    p.AL_Limit_L = 240;
    Plane flat(640 * 480, 230);  // black and white point both 230
    std::fill(flat.begin(), flat.begin() + 10, 240);
    p.AL_Percent_L = p.AL_Percent_R = 1;
    EXPECT_EQ(Levelled(flat, 640, 480, p), flat);
    Plane halves(640 * 480, 100);  // 60 %: black point 200, white point 100 -> 180
    std::fill(halves.begin(), halves.begin() + halves.size() / 2, 200);
    std::fill(halves.begin(), halves.begin() + 10, 240);
    p.AL_Percent_L = p.AL_Percent_R = 600;
    p.AL_Limit_R = 180;
    EXPECT_EQ(Levelled(halves, 640, 480, p), halves);
}
