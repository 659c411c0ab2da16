// Pipeline driver: frame loading, letter dispatch, expansion limits, flips.
#include "pipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "letter_params.h"
#include "planes.h"
#include "stage_params.h"

namespace {

struct Pipeline {
    CStageParams stage;
    CLetterParams letter;
    int enlarge = 0;

    PipelineSettings Settings() const { return {stage, letter, enlarge}; }
    void Run(const std::vector<std::uint8_t>& frame, int w, int h, int flip = 0) {
        RunPipeline(Settings(), frame.data(), w, h, flip);
    }
};

std::vector<std::uint8_t> Ramp(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t(i * 37 + 11);
    return v;
}

std::vector<std::uint8_t> RgbPlane() {
    return std::vector<std::uint8_t>(gRgbPlane, gRgbPlane + std::size_t(gWorkWidth) * gWorkHeight * 3);
}

}  // namespace

TEST(Pipeline, FrameRowsAreReversedIntoTheRawPlane) {
    const std::uint8_t frame[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ResetPlanes(4, 2);
    LoadFrame(frame, 4, 2);
    const std::uint8_t expected[8] = {5, 6, 7, 8, 1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(gRawPlane, expected, 8), 0);
    EXPECT_EQ(gWorkWidth, 4);
    EXPECT_EQ(gWorkHeight, 2);
}

TEST(Pipeline, FrameLimits) {
    const struct {
        int w, h;
        bool fits;
    } cases[] = {{640, 480, true}, {320, 240, true}, {1024, 300, true}, {1025, 2, false},
                 {641, 480, false}, {0, 10, false}, {10, -1, false}, {480, 640, true}};
    for (const auto& c : cases) EXPECT_EQ(FrameFitsPlanes(c.w, c.h), c.fits) << c.w << "x" << c.h;
}

TEST(Pipeline, LettersWithoutDemosaicingLeaveABlackPicture) {
    Pipeline p;
    p.stage.OPBefore[0] = '\0';
    std::strcpy(p.letter.OPVEXA, "AB");
    std::memset(gRgbPlane, 0x55, 64 * 48 * 3);
    p.Run(Ramp(64 * 48), 64, 48);
    EXPECT_EQ(RgbPlane(), std::vector<std::uint8_t>(64 * 48 * 3, 0));
}

TEST(Pipeline, PictureDoesNotDependOnWhatThePlanesHeldBefore) {
    // A demosaicing that comes first overwrites the RGB plane, so the clear
    // may be left out; anything else (another stage first, a size the
    // demosaicing refuses) must still find the plane black. A demosaicing
    // after an expansion reads the raw plane at the doubled size, beyond the
    // frame: that part must not hold an earlier conversion's leftovers.
    const struct {
        const char* letters;
        int w, h;
        int enlarge;
    } cases[] = {{"C", 64, 48, 0},  {"c", 64, 48, 0}, {"2C9", 64, 48, 0}, {"GC", 64, 48, 0},
                 {"JC", 64, 48, 0}, {"J", 64, 48, 0}, {"NJ", 64, 48, 0},  {"C", 3, 2, 0},
                 {"C", 8, 1, 0},    {"", 64, 48, 0},  {"NC", 64, 48, 1},  {"NC", 320, 240, 1}};
    for (const auto& c : cases) {
        Pipeline p;  // with software enlarge off, N selects a stage that does nothing
        p.enlarge = c.enlarge;
        std::strcpy(p.letter.OPVEXA, c.letters);
        p.letter.Shift = 40;
        const std::vector<std::uint8_t> frame = Ramp(std::size_t(c.w) * c.h);
        std::memset(gRgbPlane, 0, kRgbPlaneBytes);
        std::memset(gRawPlane, 0, kRawPlaneBytes);
        p.Run(frame, c.w, c.h);
        const std::vector<std::uint8_t> fromClear = RgbPlane();
        std::memset(gRgbPlane, 0x55, kRgbPlaneBytes);
        std::memset(gRawPlane, 0x55, kRawPlaneBytes);
        p.Run(frame, c.w, c.h);
        EXPECT_EQ(RgbPlane(), fromClear) << "\"" << c.letters << "\" " << c.w << " x " << c.h;
    }
}

TEST(Pipeline, DispatchIgnoresCaseAndSkipsCharactersWithoutStage) {
    Pipeline upper, mixed;
    std::strcpy(upper.letter.OPVEXA, "CA");
    std::strcpy(mixed.letter.OPVEXA, "2c9 G-a!");
    upper.Run(Ramp(32 * 16), 32, 16);
    const std::vector<std::uint8_t> expected = RgbPlane();
    mixed.Run(Ramp(32 * 16), 32, 16);
    EXPECT_EQ(RgbPlane(), expected);
}

TEST(Pipeline, ExpansionDoublesOnlyWhenEnabledAndWhileThePlaneHoldsIt) {
    const struct {
        const char* letters;
        int enlarge, w, h, outW, outH;
    } cases[] = {
        {"CN", 0, 64, 48, 64, 48},           // flag off: N does nothing
        {"Cn", 5, 64, 48, 128, 96},          // any nonzero flag; lower case too
        {"CNN", 1, 320, 240, 1280, 960},     // two expansions still fit
        {"CNNN", 1, 320, 240, 1280, 960},    // the third is refused
        {"CNN", 1, 640, 480, 1280, 960},     // the second is refused
        {"CNN", 1, 1024, 300, 2048, 600},    // a row of 2048 pixels fits, 4096 does not
    };
    for (const auto& c : cases) {
        Pipeline p;
        p.enlarge = c.enlarge;
        std::strcpy(p.letter.OPVEXA, c.letters);
        p.Run(Ramp(std::size_t(c.w) * c.h), c.w, c.h);
        EXPECT_EQ(gWorkWidth, c.outW) << c.letters << " " << c.w;
        EXPECT_EQ(gWorkHeight, c.outH) << c.letters << " " << c.w;
    }
}

TEST(Pipeline, FlipFlagsFlipAndMirrorThePicture) {
    // 3 x 2 plane, pixel (x, y) = (10y + x) in all three channels.
    auto fill = [](int w, int h) {
        ResetPlanes(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) std::memset(gRgbPlane + (y * w + x) * 3, 10 * y + x, 3);
    };
    auto firstChannel = [] {
        std::vector<int> v;
        for (int i = 0; i < gWorkWidth * gWorkHeight; ++i) v.push_back(gRgbPlane[3 * i]);
        return v;
    };
    const struct {
        int flags;
        std::vector<int> expected;
    } cases[] = {
        {0, {0, 1, 2, 10, 11, 12}},
        {1, {10, 11, 12, 0, 1, 2}},
        {2, {2, 1, 0, 12, 11, 10}},
        {3, {12, 11, 10, 2, 1, 0}},
        {4, {0, 1, 2, 10, 11, 12}},  // other bits are ignored
    };
    for (const auto& c : cases) {
        fill(3, 2);
        ApplyFlipFlags(c.flags);
        EXPECT_EQ(firstChannel(), c.expected) << "flags " << c.flags;
    }
    fill(3, 1);
    ApplyFlipFlags(1);
    EXPECT_EQ(firstChannel(), (std::vector<int>{0, 1, 2}));
    // Pixels move whole: the three channels stay together.
    ResetPlanes(2, 1);
    const std::uint8_t pixels[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(gRgbPlane, pixels, 6);
    ApplyFlipFlags(2);
    EXPECT_EQ(RgbPlane(), (std::vector<std::uint8_t>{4, 5, 6, 1, 2, 3}));
}
