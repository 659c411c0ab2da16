// Speed of the tone and colour stages (letters E, F, H, I, J, K, L and the
// linear colour enhance of after "1") on the tone chart at 640 x 480 and
// 1280 x 960. Every iteration restores the picture first (the stages work in
// place); BM_RestoreOnly measures that copy alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "letter_params.h"
#include "planes.h"
#include "rawstages/colour_enhance.h"
#include "rawstages/colour_matrix.h"
#include "rows.h"
#include "scene.h"
#include "stage_params.h"
#include "stages/rgb_auto_white_balance.h"
#include "stages/tone_stages.h"

namespace {

// The tone chart in blue, green, red order, one per size.
const std::vector<std::uint8_t>& Picture(int width, int height) {
    static std::vector<std::uint8_t> small, large;
    std::vector<std::uint8_t>& picture = width > 640 ? large : small;
    if (picture.empty()) {
        picture = RenderSceneRgb(Scene::ToneChart, width, height);
        SwapRedBlue(picture.data(), picture.size() / 3);
    }
    return picture;
}

template <class Stage>
void Run(benchmark::State& state, Stage stage) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const std::vector<std::uint8_t>& picture = Picture(width, height);
    for (auto _ : state) {
        std::memcpy(gRgbPlane, picture.data(), picture.size());
        stage(gRgbPlane, width, height);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void BM_RestoreOnly(benchmark::State& state) {
    Run(state, [](std::uint8_t*, int, int) {});
}

void BM_LetterGamma(benchmark::State& state) {
    Run(state, [](std::uint8_t* rgb, int w, int h) { LetterGamma(rgb, w, h, 0.7); });
}

void BM_LetterSGamma(benchmark::State& state) {
    Run(state, [](std::uint8_t* rgb, int w, int h) { LetterSGamma(rgb, w, h, 0.8, 1.5, 0.5); });
}

void BM_LetterShift(benchmark::State& state) {
    CLetterParams p;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { LetterShift(p, rgb, w, h); });
}

void BM_RgbWeight(benchmark::State& state) {
    CLetterParams p;
    p.WeightR = 1200;
    p.WeightB = 900;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { RgbWeight(p, rgb, w, h); });
}

void BM_RgbAwbThreshold(benchmark::State& state) {
    CLetterParams p;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { RgbAutoWhiteBalance(p, rgb, w, h); });
}

void BM_RgbAwbSCurve(benchmark::State& state) {
    CLetterParams p;
    p.AWB_AvgType = 1;
    p.AWB_Curve = 1.5;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { RgbAutoWhiteBalance(p, rgb, w, h); });
}

void BM_ColourMatrix(benchmark::State& state) {
    CLetterParams p;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { ColourMatrix(rgb, w, h, p.CM); });
}

void BM_ColourEnhanceLinear(benchmark::State& state) {
    CStageParams p;
    Run(state, [&p](std::uint8_t* rgb, int w, int h) { ColourEnhanceLinear(p, rgb, w, h); });
}

void BM_ColourEnhanceSaturation(benchmark::State& state) {
    const int percent = static_cast<int>(state.range(2));
    Run(state, [percent](std::uint8_t* rgb, int w, int h) { ColourEnhanceSaturation(rgb, w, h, percent); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({640, 480})->Args({1280, 960})->Unit(benchmark::kMillisecond);
}

// 20 % is the default; 50 % puts many bytes on a half step, where the HSI
// round trip decides; above 10000 % every pixel takes the round trip.
void SaturationGains(benchmark::internal::Benchmark* b) {
    for (int percent : {20, 50, 10001}) b->Args({640, 480, percent})->Args({1280, 960, percent});
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_RestoreOnly)->Apply(Sizes);
BENCHMARK(BM_LetterGamma)->Apply(Sizes);
BENCHMARK(BM_LetterSGamma)->Apply(Sizes);
BENCHMARK(BM_LetterShift)->Apply(Sizes);
BENCHMARK(BM_RgbWeight)->Apply(Sizes);
BENCHMARK(BM_RgbAwbThreshold)->Apply(Sizes);
BENCHMARK(BM_RgbAwbSCurve)->Apply(Sizes);
BENCHMARK(BM_ColourMatrix)->Apply(Sizes);
BENCHMARK(BM_ColourEnhanceLinear)->Apply(Sizes);
BENCHMARK(BM_ColourEnhanceSaturation)->Apply(SaturationGains);
