// Stage sequencers.
#include "rawstages/stage_sequencers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "rawstages/auto_level.h"
#include "rawstages/auto_white_balance.h"
#include "rawstages/colour_enhance.h"
#include "rawstages/colour_matrix.h"
#include "rawstages/tone_curves.h"
#include "raw_reference.h"
#include "stage_params.h"

namespace {

using Plane = rawref::Plane;

}  // namespace

namespace {

using RawStage = void (*)(const CStageParams&, std::uint8_t*, int, int);

void RunAfterOne(const CStageParams& p, std::uint8_t* rgb, int w, int h) {
    ColourEnhanceLinear(p, rgb, w, h);
    ColourEnhanceSaturation(rgb, w, h, p.CE_Saturation);
}
void RunAfterTwo(const CStageParams& p, std::uint8_t* rgb, int w, int h) {
    ColourMatrix(rgb, w, h, p.CM);
}

}  // namespace

TEST(Sequencers, BeforeDigitsRunTheirStagesLeftToRight) {
    // The sequencer leaves each stage's tables pending until the next
    // measurement or the end; running the stages one by one, each writing its
    // tables at once, must give the same samples. Frames wide enough for the
    // vector paths and narrow odd ones; thresholds inside and outside 0..254.
    std::mt19937 rng(8);
    const int sizes[][2] = {{64, 48}, {37, 21}, {640, 480}};
    CStageParams usual;
    usual.WeightR = 800;
    usual.GammaS = 1.5;
    CStageParams unusual = usual;
    unusual.Shift = -7;
    unusual.WeightB = 1200;
    unusual.AWB_Type = 0;
    unusual.AWB_Overflow = 300;
    unusual.AL_Overflow = 180;
    struct Case { const char* steps; std::vector<RawStage> stages; };
    const Case cases[] = {
        {"", {}},
        {"123", {AutoWhiteBalance, AutoLevel, RawGamma}},
        {"11", {AutoWhiteBalance, AutoWhiteBalance}},
        {"7x3", {RawGamma}},
        {"654", {RawRgbGamma, RawShift, SGammaAntiOver}},
        {"4 5", {SGammaAntiOver, RawShift}},
        {"5612", {RawShift, RawRgbGamma, AutoWhiteBalance, AutoLevel}},
        {"33624", {RawGamma, RawGamma, RawRgbGamma, AutoLevel, SGammaAntiOver}},
        {"1234561", {AutoWhiteBalance, AutoLevel, RawGamma, SGammaAntiOver, RawShift,
                     RawRgbGamma, AutoWhiteBalance}},
    };
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const Plane frame = rawref::RandomScenePlane(rng, w, h);
        for (CStageParams* params : {&usual, &unusual})
            for (const Case& c : cases) {
                std::strcpy(params->OPBefore, c.steps);
                Plane run = frame, expected = frame;
                EXPECT_EQ(RunBeforeStages(*params, run.data(), w, h), 1);
                for (RawStage stage : c.stages) stage(*params, expected.data(), w, h);
                EXPECT_EQ(run, expected) << "before string \"" << c.steps << "\", " << w << " x "
                                         << h << (params == &usual ? "" : ", unusual settings");
            }
    }
}

TEST(Sequencers, AfterDigitsRunTheirStagesLeftToRight) {
    constexpr int w = 32, h = 24;
    std::mt19937 rng(10);
    const Plane picture = rawref::RandomScenePlane(rng, w * 3, h);  // any bytes will do
    CStageParams params;
    params.GammaAfter = 0.5;
    struct Case { const char* steps; std::vector<RawStage> stages; };
    const Case cases[] = {
        {"", {}},
        {"3", {RgbGamma}},
        {"x3y3", {RgbGamma, RgbGamma}},
        {"1", {RunAfterOne}},
        {"2", {RunAfterTwo}},
        {"456", {}},
    };
    for (const Case& c : cases) {
        std::strcpy(params.OPAfter, c.steps);
        Plane run = picture, expected = picture;
        EXPECT_EQ(RunAfterStages(params, run.data(), w, h), 1);
        for (RawStage stage : c.stages) stage(params, expected.data(), w, h);
        EXPECT_EQ(run, expected) << "after string \"" << c.steps << "\"";
    }
}

TEST(Sequencers, SettingsOutsideTheirRangesStayInsideThePlane) {
    // Every stage with hostile settings on planes of awkward sizes; the bytes
    // around the plane must survive.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CStageParams hostile[4];
    for (CStageParams& p : hostile) {
        std::strcpy(p.OPBefore, "1234561");
        std::strcpy(p.OPAfter, "3");
    }
    hostile[0].AWB_Average = nan, hostile[0].AWB_ValueLimit = nan, hostile[0].Gamma = nan;
    hostile[0].GammaL = nan, hostile[0].GammaS = nan, hostile[0].Gamma2 = nan;
    hostile[0].GammaAfter = nan, hostile[0].AL_Overflow = INT_MIN, hostile[0].Shift = INT_MAX;
    hostile[1].AWB_Average = -inf, hostile[1].AWB_ValueLimit = inf, hostile[1].Gamma = inf;
    hostile[1].GammaL = 1e300, hostile[1].GammaS = -1, hostile[1].Gamma2 = 1e-300;
    hostile[1].AL_Overflow = INT_MAX, hostile[1].AL_Percent_L = INT_MAX;
    hostile[1].AL_Percent_R = INT_MIN, hostile[1].AWB_Percent_R = INT_MAX;
    hostile[1].WeightR = INT_MIN, hostile[1].WeightB = INT_MAX, hostile[1].Shift = INT_MIN;
    hostile[2].AWB_Average = 1e9, hostile[2].AWB_ValueLimit = -1e9, hostile[2].AWB_Type = 7;
    hostile[2].AWB_Overflow = -1, hostile[2].AWB_Noise = INT_MIN, hostile[2].AL_Limit_L = INT_MAX;
    hostile[2].AL_Limit_R = INT_MIN, hostile[2].GammaL = -3, hostile[2].GammaS = 300;
    hostile[3].AWB_LargeColor = nan, hostile[3].AWB_LargeSub = INT_MIN, hostile[3].AWB_Noise = -5;
    hostile[3].AL_Noise = INT_MIN, hostile[3].AL_Limit_L = INT_MIN, hostile[3].AL_Limit_R = INT_MAX;
    hostile[3].AWB_Percent_R = -1000, hostile[3].GammaS = 1e-300, hostile[3].Gamma2 = 400;
    const int sizes[][2] = {{1, 1}, {2, 2}, {3, 5}, {5, 3}, {1, 7}, {7, 1}, {33, 17}, {0, 4}};
    std::mt19937 rng(12);
    auto guardedRun = [&](const CStageParams& p, int w, int h, int bytesPerPixel) {
        const std::size_t count = std::size_t(w) * h * bytesPerPixel;
        Plane guarded(count + 64, 0xA5);
        for (std::size_t i = 32; i < 32 + count; ++i) guarded[i] = std::uint8_t(rng());
        if (bytesPerPixel == 1)
            RunBeforeStages(p, guarded.data() + 32, w, h);
        else
            RunAfterStages(p, guarded.data() + 32, w, h);
        for (std::size_t i = 0; i < 32; ++i) {
            if (guarded[i] != 0xA5 || guarded[32 + count + i] != 0xA5) return false;
        }
        return true;
    };
    for (const CStageParams& p : hostile)
        for (const auto& s : sizes) {
            EXPECT_TRUE(guardedRun(p, s[0], s[1], 1)) << "before stages, " << s[0] << " x " << s[1];
            EXPECT_TRUE(guardedRun(p, s[0], s[1], 3)) << "after stages, " << s[0] << " x " << s[1];
        }
}
