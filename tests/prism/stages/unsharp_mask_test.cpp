// Unsharp mask stages: kernel application with mirrored borders and the
// two-level kernel choice, held against a plain reference.
#include "stages/unsharp_mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "letter_params.h"
#include "planes.h"
#include "stages/smart_blur.h"
#include "test_planes.h"

namespace {

using Plane = std::vector<std::uint8_t>;
using Weights = std::array<int, 9>;

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {{1, 1}, {1, 4}, {5, 1}, {2, 2}, {2, 6}, {3, 3}, {16, 11}, {37, 24}};

int Mirror(int i, int n) {
    if (n == 1) return 0;
    if (i < 0) return 1;
    if (i >= n) return n - 2;
    return i;
}

// kernelOf(x, y) gives the nine weights of that pixel, row before first.
Plane ReferenceKernels(const Plane& rgb, int w, int h,
                       const std::function<const Weights&(int, int)>& kernelOf) {
    Plane out = rgb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Weights& k = kernelOf(x, y);
            long long divisor = 0;
            for (int weight : k) divisor += weight;
            if (divisor == 0) continue;
            for (int c = 0; c < 3; ++c) {
                long long v = 0;
                for (int r = 0; r < 3; ++r)
                    for (int col = 0; col < 3; ++col) {
                        const int sy = Mirror(y + r - 1, h), sx = Mirror(x + col - 1, w);
                        v += static_cast<long long>(k[r * 3 + col]) * rgb[(sy * w + sx) * 3 + c];
                    }
                out[(y * w + x) * 3 + c] =
                    std::uint8_t(std::max(0LL, std::min(v / divisor, 255LL)));
            }
        }
    return out;
}

void SetKernel(int (&target)[9], const Weights& weights) {
    std::copy(weights.begin(), weights.end(), target);
}

const Weights kDefaultA = {-2, -3, -2, -3, 40, -3, -2, -3, -2};
const Weights kDefaultOne = {0, 0, -3, 0, 60, -4, -3, -4, -5};
const Weights kDefaultTwo = {0, 0, -3, 0, 40, -4, -3, -4, -5};

Weights RandomKernel(std::mt19937& random, int spread) {
    std::uniform_int_distribution<int> weight(-spread, spread);
    Weights k;
    for (int& w : k) w = weight(random);
    k[4] = std::abs(k[4]) + spread;  // mostly a sharpening shape, sometimes not
    return k;
}

}  // namespace

TEST(UnsharpMask, KeepsThePlaneForNeutralKernels) {
    const struct {
        const char* name;
        Weights kernel;
        Plane plane;
    } cases[] = {
        {"centre only", {0, 0, 0, 0, 1, 0, 0, 0, 0}, NoisyRampPlane(13, 7, 90, 1)},
        {"centre only, scaled", {0, 0, 0, 0, 7, 0, 0, 0, 0}, NoisyRampPlane(13, 7, 90, 2)},
        {"default on a uniform plane", kDefaultA, UniformPlane(13, 7, 201)},
        {"weights summing to zero",
         {-1, -1, -1, -1, 8, -1, -1, -1, -1},
         NoisyRampPlane(13, 7, 90, 3)},
    };
    for (const auto& c : cases) {
        CLetterParams params;
        SetKernel(params.UnsharpMask, c.kernel);
        Plane rgb = c.plane;
        UnsharpMask(params, rgb.data(), 13, 7);
        EXPECT_EQ(rgb, c.plane) << c.name;
    }
}

TEST(UnsharpMask, LimitsResultsAndMirrorsBorders) {
    // One row 10, 200, 10 (all channels) under centre 3, sides -1: the middle
    // gives 600 - 20 = 580 -> 255; each end sees 200 on both sides
    // (the missing neighbour is the opposite one): 30 - 400 -> 0.
    CLetterParams params;
    SetKernel(params.UnsharpMask, {0, 0, 0, -1, 3, -1, 0, 0, 0});
    Plane rgb = {10, 10, 10, 200, 200, 200, 10, 10, 10};
    UnsharpMask(params, rgb.data(), 3, 1);
    EXPECT_EQ(rgb, Plane({0, 0, 0, 255, 255, 255, 0, 0, 0}));
}

TEST(UnsharpMask, MatchesReference) {
    std::mt19937 random(7);
    // The usual kernels, one with a negative weight sum, and kernels whose
    // divisor or sums outgrow 32-bit fast arithmetic.
    const Weights kernels[] = {kDefaultA,
                               RandomKernel(random, 3),
                               RandomKernel(random, 50),
                               {1, 1, 1, 1, -12, 1, 1, 1, 1},
                               {0, -1, 0, -1, 2000000, -1, 0, -1, 0},
                               RandomKernel(random, 100000000)};
    unsigned seed = 10;
    for (const Size size : kSizes)
        for (const Weights& kernel : kernels) {
            CLetterParams params;
            SetKernel(params.UnsharpMask, kernel);
            Plane rgb = NoisyRampPlane(size.width, size.height, 60, seed++);
            const Plane expected = ReferenceKernels(
                rgb, size.width, size.height, [&](int, int) -> const Weights& { return kernel; });
            UnsharpMask(params, rgb.data(), size.width, size.height);
            ASSERT_EQ(rgb, expected)
                << size.width << "x" << size.height << " kernel centre " << kernel[4];
        }
}

TEST(TwoLevelUnsharpMask, UniformPlaneStaysWithDefaults) {
    CLetterParams params;
    const Plane uniform = UniformPlane(10, 8, 99);
    Plane rgb = uniform;
    TwoLevelUnsharpMask(params, rgb.data(), 10, 8);
    EXPECT_EQ(rgb, uniform);
}

TEST(TwoLevelUnsharpMask, ThresholdsBeyondTheMapPickOneKernelEverywhere) {
    // Threshold 0 (or below) is always flat; above 255 always an edge.
    const struct {
        int threshold;
        const Weights& kernel;
    } cases[] = {{0, kDefaultOne}, {-4, kDefaultOne}, {256, kDefaultTwo}, {1000, kDefaultTwo}};
    for (const auto& c : cases) {
        CLetterParams params;
        params.TwoLevelThreshold = c.threshold;
        Plane rgb = NoisyRampPlane(21, 14, 80, 40);
        const Plane expected =
            ReferenceKernels(rgb, 21, 14, [&](int, int) -> const Weights& { return c.kernel; });
        TwoLevelUnsharpMask(params, rgb.data(), 21, 14);
        EXPECT_EQ(rgb, expected) << "threshold " << c.threshold;
    }
}

TEST(TwoLevelUnsharpMask, ChoosesTheKernelByTheEdgeMap) {
    std::mt19937 random(11);
    unsigned seed = 60;
    for (const Size size : kSizes)
        for (int amplitude : {3, 15, 60})
            for (int threshold : {1, 100, 200, 255}) {
                CLetterParams params;
                params.TwoLevelThreshold = threshold;
                // Amplitude 60 also sends one kernel down the 64-bit path.
                const Weights one = amplitude == 3 ? kDefaultOne : RandomKernel(random, 9);
                const Weights two = amplitude == 3    ? kDefaultTwo
                                    : amplitude == 60 ? RandomKernel(random, 50000000)
                                                      : RandomKernel(random, 9);
                SetKernel(params.OneUM, one);
                SetKernel(params.TwoUM, two);
                Plane rgb = NoisyRampPlane(size.width, size.height, amplitude, seed++);

                // The map the stage steers by, taken from the smart blur itself.
                Plane probe = rgb;
                SmartBlur(probe.data(), size.width, size.height, 1.3, 1, false, 256);
                const Plane map(gEdgeMap, gEdgeMap + rgb.size());
                const int w = size.width;
                const Plane expected =
                    ReferenceKernels(rgb, w, size.height, [&](int x, int y) -> const Weights& {
                        const std::uint8_t* m = &map[(y * w + x) * 3];
                        return (m[0] >= threshold && m[1] >= threshold && m[2] >= threshold) ? one
                                                                                             : two;
                    });
                std::memset(gEdgeMap, 0, rgb.size());  // the stage must build its own map
                TwoLevelUnsharpMask(params, rgb.data(), size.width, size.height);
                ASSERT_EQ(rgb, expected) << size.width << "x" << size.height << " amplitude "
                                         << amplitude << " threshold " << threshold;
            }
}
