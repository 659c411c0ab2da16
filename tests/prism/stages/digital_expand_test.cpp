// Digital expand: bilinear doubling, checked on the hand-worked 2 x 2 case and
// against a plain reference; the driver's letter N doubles the working size
// once and refuses an expansion the planes cannot hold.
#include "stages/digital_expand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "letter_params.h"
#include "pipeline.h"
#include "planes.h"
#include "stage_params.h"
#include "test_planes.h"

namespace {

using Plane = std::vector<std::uint8_t>;

Plane ReferenceExpand(const Plane& src, int w, int h) {
    Plane out(src.size() * 4);
    auto s = [&](int row, int col, int c) { return int(src[(row * w + col) * 3 + c]); };
    for (int Y = 0; Y < 2 * h; ++Y)
        for (int X = 0; X < 2 * w; ++X)
            for (int c = 0; c < 3; ++c) {
                const int y = Y / 2, x = X / 2;
                const int x1 = std::min(x + 1, w - 1), y1 = std::min(y + 1, h - 1);
                int v;
                if (Y % 2 == 0 && X % 2 == 0)
                    v = s(y, x, c);
                else if (Y % 2 == 0)
                    v = (s(y, x, c) + s(y, x1, c)) >> 1;
                else if (X % 2 == 0)
                    v = (s(y, x, c) + s(y1, x, c)) >> 1;
                else
                    v = (s(y, x, c) + s(y, x1, c) + s(y1, x, c) + s(y1, x1, c)) >> 2;
                out[(Y * 2 * w + X) * 3 + c] = std::uint8_t(v);
            }
    return out;
}

// Room for the doubled image, the input in front.
Plane Expanded(const Plane& input, int w, int h) {
    Plane plane(input.size() * 4, 0xEE);
    std::copy(input.begin(), input.end(), plane.begin());
    DigitalExpand(plane.data(), w, h);
    return plane;
}

}  // namespace

TEST(DigitalExpand, WorkedTwoByTwoExample) {
    Plane input = UniformPlane(2, 2, 0);
    const int blue[] = {0, 100, 200, 40};
    for (int i = 0; i < 4; ++i) input[3 * i] = std::uint8_t(blue[i]);
    const Plane out = Expanded(input, 2, 2);
    const int expected[4][4] = {
        {0, 50, 100, 100}, {100, 85, 70, 70}, {200, 120, 40, 40}, {200, 120, 40, 40}};
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(out[(Y * 4 + X) * 3], expected[Y][X]) << "row " << Y << " column " << X;
}

TEST(DigitalExpand, MatchesReferenceAndKeepsSourcePixels) {
    const struct {
        int width;
        int height;
        int amplitude;
    } cases[] = {{1, 1, 255}, {1, 6, 255},  {5, 1, 255},    {3, 3, 0},
                 {7, 5, 255}, {33, 20, 40}, {640, 480, 255}};
    unsigned seed = 1;
    for (const auto& c : cases) {
        const Plane input = NoisyRampPlane(c.width, c.height, c.amplitude, seed++);
        const Plane out = Expanded(input, c.width, c.height);
        ASSERT_EQ(out, ReferenceExpand(input, c.width, c.height)) << c.width << "x" << c.height;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(0, std::memcmp(&out[((2 * y) * 2 * c.width + 2 * x) * 3],
                                         &input[(y * c.width + x) * 3], 3))
                    << "source pixel " << x << "," << y;
    }
}

TEST(DigitalExpand, UniformImageStaysUniform) {
    EXPECT_EQ(Expanded(UniformPlane(9, 4, 173), 9, 4), UniformPlane(18, 8, 173));
}

TEST(DigitalExpand, LeavesImagesThatCannotDoubleAlone) {
    const struct {
        int width;
        int height;
    } cases[] = {{641, 480}, {1280, 960}, {0, 4}, {4, -1}};
    for (const auto& c : cases) {
        std::fill(gRgbPlane, gRgbPlane + kRgbPlaneBytes, 0x5A);
        DigitalExpand(gRgbPlane, c.width, c.height);
        EXPECT_TRUE(std::all_of(gRgbPlane, gRgbPlane + kRgbPlaneBytes,
                                [](std::uint8_t b) { return b == 0x5A; }))
            << c.width << "x" << c.height;
    }
}

TEST(DigitalExpand, LetterNDoublesOnceAndRefusesASecondExpansion) {
    CStageParams stage;
    CLetterParams letter;
    const PipelineSettings off{stage, letter, 0};
    const PipelineSettings on{stage, letter, 1};
    ResetPlanes(640, 480);
    const Plane input = NoisyRampPlane(640, 480, 30, 5);
    std::copy(input.begin(), input.end(), gRgbPlane);

    Dispatch('n', off);
    EXPECT_EQ(gWorkWidth, 640);
    EXPECT_EQ(gWorkHeight, 480);
    EXPECT_TRUE(std::equal(input.begin(), input.end(), gRgbPlane));

    Dispatch('N', on);
    EXPECT_EQ(gWorkWidth, 1280);
    EXPECT_EQ(gWorkHeight, 960);
    const Plane once = ReferenceExpand(input, 640, 480);
    EXPECT_TRUE(std::equal(once.begin(), once.end(), gRgbPlane));

    Dispatch('N', on);
    EXPECT_EQ(gWorkWidth, 1280);
    EXPECT_EQ(gWorkHeight, 960);
    EXPECT_TRUE(std::equal(once.begin(), once.end(), gRgbPlane));
}
