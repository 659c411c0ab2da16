// Edge-adaptive blur: weight table, edge map with erosion, blur and
// sharpening, held against a plain reference written from the steps.
#include "stages/smart_blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "planes.h"
#include "test_planes.h"

namespace {

using Plane = std::vector<std::uint8_t>;

struct Size {
    int width;
    int height;
};

// From one pixel to whole rows and columns of border, odd and even sizes.
constexpr Size kSizes[] = {{1, 1}, {1, 5}, {6, 1},  {2, 2},  {2, 7},
                           {3, 3}, {4, 3}, {17, 9}, {40, 31}};
constexpr int kAmplitudes[] = {0, 2, 5, 12, 40, 255};

int Round(double x) {
    const double whole = std::floor(x);
    return x - whole > 0.5 ? int(whole) + 1 : int(whole);
}

std::vector<int> ReferenceWeights(double g) {
    int s[256], u[512];
    for (int i = 0; i < 128; ++i) s[i] = Round(std::pow(127.0, 1 - g) * std::pow(i, g));
    for (int i = 128; i < 256; ++i) s[i] = 255 - s[255 - i];
    for (int i = 0; i < 256; ++i) u[i] = Round(std::pow(255.0, 1 - g) * std::pow(i, g));
    for (int i = 256; i < 512; ++i) u[i] = 511 - u[511 - i];
    std::vector<int> w(512);
    for (int i = 0; i < 512; ++i) w[i] = s[255 - std::min(u[i] + (u[i] >> 2), 255)];
    return w;
}

struct View {
    const Plane& p;
    int w;
    int operator()(int x, int y, int c) const { return p[(y * w + x) * 3 + c]; }
};

Plane ReferenceEdgeMap(const Plane& rgb, int w, int h, int passes) {
    const std::vector<int> weight = ReferenceWeights(1.3);
    Plane map(rgb.size(), 255);
    const View v{rgb, w};
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            int m[3];
            for (int c = 0; c < 3; ++c) {
                const int N = v(x, y - 1, c), S = v(x, y + 1, c), E = v(x + 1, y, c),
                          W = v(x - 1, y, c);
                const int NE = v(x + 1, y - 1, c), NW = v(x - 1, y - 1, c);
                const int SE = v(x + 1, y + 1, c), SW = v(x - 1, y + 1, c);
                m[c] = std::abs((NE + 2 * E + SE) - (NW + 2 * W + SW)) +
                       std::abs((N + 2 * NE + E) - (W + 2 * SW + S)) +
                       std::abs((E + 2 * SE + S) - (N + 2 * NW + W)) +
                       std::abs((SW + 2 * S + SE) - (NW + 2 * N + NE));
            }
            int order[3] = {0, 1, 2};
            std::stable_sort(order, order + 3, [&](int a, int b) { return m[a] < m[b]; });
            const int lo = m[order[0]], mid = m[order[1]], hi = m[order[2]];
            if (hi - mid > mid - lo)
                m[order[2]] = mid;
            else
                m[order[0]] = mid;
            for (int c = 0; c < 3; ++c) map[(y * w + x) * 3 + c] = weight[std::min(m[c], 511)];
        }
    for (int pass = 0; pass < passes; ++pass) {
        const Plane copy = map;
        const View e{copy, w};
        for (int y = 1; y + 1 < h; ++y)
            for (int x = 1; x + 1 < w; ++x)
                for (int c = 0; c < 3; ++c)
                    map[(y * w + x) * 3 + c] =
                        std::min({e(x, y - 1, c), e(x, y + 1, c), e(x - 1, y, c), e(x + 1, y, c)});
    }
    return map;
}

Plane ReferenceBlur(const Plane& rgb, int w, int h, const Plane& map, long long k) {
    Plane out = rgb;
    const View v{rgb, w};
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
            for (int c = 0; c < 3; ++c) {
                long long sum8 = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (dx != 0 || dy != 0) sum8 += v(x + dx, y + dy, c);
                const long long wt = map[(y * w + x) * 3 + c];
                out[(y * w + x) * 3 + c] =
                    std::uint8_t(std::min(255LL, (wt * sum8 + k * v(x, y, c)) / (8 * wt + k)));
            }
    return out;
}

// Opposite-side neighbour; a single pixel line has only itself.
int Mirror(int i, int n) {
    if (n == 1) return 0;
    if (i < 0) return 1;
    if (i >= n) return n - 2;
    return i;
}

Plane ReferenceSharpen(const Plane& blurred, int w, int h, const Plane& map, int gain,
                       int threshold) {
    Plane out = blurred;
    const View v{blurred, w};
    const int K = 121 - std::max(0, std::min(gain, 100));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const int wt = map[(y * w + x) * 3 + c];
                if (wt >= threshold) continue;
                const int n = Mirror(y - 1, h), s = Mirror(y + 1, h);
                const int l = Mirror(x - 1, w), r = Mirror(x + 1, w);
                const int d = wt + K;
                const int value =
                    (d * v(x, y, c) - 3 * (v(x, n, c) + v(x, s, c) + v(l, y, c) + v(r, y, c)) -
                     2 * (v(l, n, c) + v(r, n, c) + v(l, s, c) + v(r, s, c))) /
                    (d - 20);
                out[(y * w + x) * 3 + c] = std::uint8_t(std::max(0, std::min(value, 255)));
            }
    return out;
}

Plane MapOf(int w, int h) {
    return Plane(gEdgeMap, gEdgeMap + std::size_t(w) * h * 3);
}

}  // namespace

TEST(SmartBlur, WeightTableHasTheListedValues) {
    std::uint8_t table[kSmartBlurStrengths];
    SmartBlurWeightTable(1.3, table);
    const struct {
        int index;
        int weight;
    } listed[] = {{0, 255},  {8, 254},   {16, 252}, {32, 243}, {64, 215},
                  {96, 174}, {128, 124}, {160, 72}, {192, 24}, {200, 14}};
    for (const auto& entry : listed)
        EXPECT_EQ(table[entry.index], entry.weight) << "W[" << entry.index << "]";
    for (int i = 215; i < kSmartBlurStrengths; ++i) EXPECT_EQ(table[i], 0) << "W[" << i << "]";
}

TEST(SmartBlur, WeightTableFollowsTheCurves) {
    for (double g : {1.3, 1.0, 0.6, 2.5}) {
        std::uint8_t table[kSmartBlurStrengths];
        SmartBlurWeightTable(g, table);
        const std::vector<int> expected = ReferenceWeights(g);
        for (int i = 0; i < kSmartBlurStrengths; ++i)
            ASSERT_EQ(table[i], expected[i] & 0xFF) << "g " << g << " W[" << i << "]";
    }
}

TEST(SmartBlur, EdgeMapAndErosionMatchReference) {
    unsigned seed = 1;
    for (const Size size : kSizes)
        for (int amplitude : kAmplitudes)
            for (int passes : {0, 1, 2}) {
                Plane rgb = NoisyRampPlane(size.width, size.height, amplitude, seed++);
                const Plane before = rgb;
                SmartBlur(rgb.data(), size.width, size.height, 1.3, passes, false, 256);
                ASSERT_EQ(MapOf(size.width, size.height),
                          ReferenceEdgeMap(before, size.width, size.height, passes))
                    << size.width << "x" << size.height << " amplitude " << amplitude << " passes "
                    << passes;
                ASSERT_EQ(rgb, before) << "the map-only call must leave the plane alone";
            }
}

TEST(SmartBlur, BlurMatchesReference) {
    // Centre weights at or below 0 count as 1.
    const struct {
        int k;
        long long effective;
    } weights[] = {{1, 1},
                   {256, 256},
                   {65536, 65536},
                   {1046536, 1046536},
                   {1046537, 1046537},
                   {INT_MAX, INT_MAX},
                   {0, 1},
                   {-9, 1}};
    unsigned seed = 100;
    for (const Size size : kSizes)
        for (int amplitude : kAmplitudes)
            for (const auto& weight : weights) {
                Plane rgb = NoisyRampPlane(size.width, size.height, amplitude, seed++);
                const Plane before = rgb;
                SmartBlur(rgb.data(), size.width, size.height, 1.3, 1, true, weight.k);
                const Plane map = ReferenceEdgeMap(before, size.width, size.height, 1);
                ASSERT_EQ(MapOf(size.width, size.height), map);
                ASSERT_EQ(rgb,
                          ReferenceBlur(before, size.width, size.height, map, weight.effective))
                    << size.width << "x" << size.height << " amplitude " << amplitude << " k "
                    << weight.k;
            }
}

TEST(SmartBlur, UniformPlaneStaysAndMapIsFlat) {
    for (int value : {0, 1, 77, 255})
        for (int k : {1, 256, 65536}) {
            Plane rgb = UniformPlane(9, 6, std::uint8_t(value));
            SmartBlur(rgb.data(), 9, 6, 1.3, 1, true, k);
            EXPECT_EQ(rgb, UniformPlane(9, 6, std::uint8_t(value)))
                << "value " << value << " k " << k;
            EXPECT_EQ(MapOf(9, 6), UniformPlane(9, 6, 255));
        }
}

TEST(SharpenBlur, ThresholdZeroGivesTheSmartBlurResult) {
    unsigned seed = 300;
    for (int amplitude : kAmplitudes)
        for (int threshold : {0, -1}) {
            Plane blurred = NoisyRampPlane(31, 22, amplitude, seed++);
            Plane sharpened = blurred;
            SmartBlur(blurred.data(), 31, 22, 1.3, 1, true, 256);
            SharpenBlur(sharpened.data(), 31, 22, 1.3, 1, true, 256, true, 80, threshold);
            ASSERT_EQ(sharpened, blurred) << "amplitude " << amplitude;
        }
}

TEST(SharpenBlur, MatchesReference) {
    unsigned seed = 500;
    for (const Size size : kSizes)
        for (int amplitude : {2, 12, 40, 255})
            for (int gain : {-5, 0, 80, 100, 1000})
                for (int threshold : {1, 128, 255, 256}) {
                    Plane rgb = NoisyRampPlane(size.width, size.height, amplitude, seed++);
                    const Plane before = rgb;
                    SharpenBlur(rgb.data(), size.width, size.height, 1.3, 1, true, 256, true, gain,
                                threshold);
                    const Plane map = ReferenceEdgeMap(before, size.width, size.height, 1);
                    const Plane blurred = ReferenceBlur(before, size.width, size.height, map, 256);
                    ASSERT_EQ(rgb, ReferenceSharpen(blurred, size.width, size.height, map, gain,
                                                    threshold))
                        << size.width << "x" << size.height << " amplitude " << amplitude
                        << " gain " << gain << " threshold " << threshold;
                }
}
