// Speed of the raw-plane stages and sequencers on a 640 x 480 tone chart.
// Every iteration loads the frame afresh (as the pipeline does), so each
// stage sees camera data; LoadFrame alone is measured as the baseline.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "pipeline.h"
#include "planes.h"
#include "rawstages/auto_level.h"
#include "rawstages/auto_white_balance.h"
#include "rawstages/stage_sequencers.h"
#include "rawstages/statistics.h"
#include "rawstages/tone_curves.h"
#include "scene.h"
#include "stage_params.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

using RawStage = void (*)(const CStageParams&, std::uint8_t*, int, int);

const std::vector<std::uint8_t>& Frame() {
    static const std::vector<std::uint8_t> frame =
        RenderSceneRaw(Scene::ToneChart, kWidth, kHeight);
    return frame;
}

CStageParams BenchParams() {
    CStageParams params;  // defaults: before string "123"
    params.WeightR = 800;
    params.WeightB = 1200;
    params.GammaS = 1.5;
    return params;
}

void RunRawStage(benchmark::State& state, RawStage stage) {
    const CStageParams params = BenchParams();
    for (auto _ : state) {
        LoadFrame(Frame().data(), kWidth, kHeight);
        if (stage) stage(params, gRawPlane, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}

void BM_LoadFrameOnly(benchmark::State& state) { RunRawStage(state, nullptr); }
void BM_BeforeStagesDefault(benchmark::State& state) {
    RunRawStage(state, [](const CStageParams& p, std::uint8_t* raw, int w, int h) {
        RunBeforeStages(p, raw, w, h);
    });
}
void BM_AutoWhiteBalance(benchmark::State& state) { RunRawStage(state, AutoWhiteBalance); }
void BM_AutoLevel(benchmark::State& state) { RunRawStage(state, AutoLevel); }
void BM_RawGamma(benchmark::State& state) { RunRawStage(state, RawGamma); }
void BM_SGammaAntiOver(benchmark::State& state) { RunRawStage(state, SGammaAntiOver); }
void BM_RawShift(benchmark::State& state) { RunRawStage(state, RawShift); }
void BM_RawRgbGamma(benchmark::State& state) { RunRawStage(state, RawRgbGamma); }

void BM_DemosaicForStatistics(benchmark::State& state) {
    LoadFrame(Frame().data(), kWidth, kHeight);
    for (auto _ : state) {
        DemosaicForStatistics(gRawPlane, gScratchRgb, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}

void BM_RgbGammaAfter(benchmark::State& state) {
    const std::vector<std::uint8_t> picture = RenderSceneRgb(Scene::ToneChart, kWidth, kHeight);
    const CStageParams params = BenchParams();
    for (auto _ : state) {
        std::memcpy(gRgbPlane, picture.data(), picture.size());
        RgbGamma(params, gRgbPlane, kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_LoadFrameOnly);
BENCHMARK(BM_BeforeStagesDefault);
BENCHMARK(BM_DemosaicForStatistics);
BENCHMARK(BM_AutoWhiteBalance);
BENCHMARK(BM_AutoLevel);
BENCHMARK(BM_RawGamma);
BENCHMARK(BM_SGammaAntiOver);
BENCHMARK(BM_RawShift);
BENCHMARK(BM_RawRgbGamma);
BENCHMARK(BM_RgbGammaAfter);
