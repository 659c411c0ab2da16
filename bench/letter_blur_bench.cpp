// Speed of the sharpening, blur and expand letters (A, B, D, M, N) on the
// tone chart: 640 x 480 as demosaicing leaves it, and 1280 x 960 as the
// letters after a digital expand see it. Each iteration starts from the
// same picture; the reload is not timed.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "letter_params.h"
#include "planes.h"
#include "rows.h"
#include "scene.h"
#include "stages/digital_expand.h"
#include "stages/smart_blur.h"
#include "stages/unsharp_mask.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The scene as the RGB plane holds it: blue, green, red. At double size it is
// the expanded picture, as after letter N.
const std::vector<std::uint8_t>& Picture(bool expanded) {
    static const std::vector<std::uint8_t> small = [] {
        std::vector<std::uint8_t> rgb = RenderSceneRgb(Scene::ToneChart, kWidth, kHeight);
        SwapRedBlue(rgb.data(), rgb.size() / 3);
        return rgb;
    }();
    static const std::vector<std::uint8_t> large = [] {
        std::memcpy(gRgbPlane, small.data(), small.size());
        DigitalExpand(gRgbPlane, kWidth, kHeight);
        return std::vector<std::uint8_t>(gRgbPlane, gRgbPlane + small.size() * 4);
    }();
    return expanded ? large : small;
}

template <class Stage>
void RunLetter(benchmark::State& state, Stage stage) {
    const bool expanded = state.range(0) != 0;
    const int width = expanded ? 2 * kWidth : kWidth;
    const int height = expanded ? 2 * kHeight : kHeight;
    const std::vector<std::uint8_t>& picture = Picture(expanded);
    const CLetterParams params;  // defaults
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(gRgbPlane, picture.data(), picture.size());
        state.ResumeTiming();
        stage(params, width, height);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}

void LetterA(benchmark::State& state) {
    RunLetter(state, [](const CLetterParams& p, int w, int h) { UnsharpMask(p, gRgbPlane, w, h); });
}

void LetterB(benchmark::State& state) {
    RunLetter(state, [](const CLetterParams& p, int w, int h) {
        SmartBlur(gRgbPlane, w, h, kSmartBlurExponent, kSmartBlurErosionPasses, true, p.Blur);
    });
}

void LetterD(benchmark::State& state) {
    RunLetter(state, [](const CLetterParams& p, int w, int h) {
        SharpenBlur(gRgbPlane, w, h, kSmartBlurExponent, kSmartBlurErosionPasses, true,
                    kSmartBlurCentreWeight, true, p.SharpenBlurGain, p.SharpenBlurThreshold);
    });
}

void LetterM(benchmark::State& state) {
    RunLetter(state, [](const CLetterParams& p, int w, int h) {
        TwoLevelUnsharpMask(p, gRgbPlane, w, h);
    });
}

void LetterN(benchmark::State& state) {
    RunLetter(state, [](const CLetterParams&, int w, int h) { DigitalExpand(gRgbPlane, w, h); });
}

}  // namespace

// Argument 0: 640 x 480; 1: 1280 x 960 (after letter N).
BENCHMARK(LetterA)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LetterB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LetterD)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LetterM)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(LetterN)->Arg(0)->Unit(benchmark::kMillisecond);
