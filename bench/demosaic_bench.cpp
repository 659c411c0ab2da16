// Speed of the four demosaicing methods on the tone chart scene, loaded into
// the raw plane as the pipeline loads it, at 640 x 480 and 320 x 240. TVNG-Line
// skips its line work where a whole step of pixels is flat, so it is also
// timed on the zone plate and on noise, where little or nothing is flat. The
// unnamed cases take the fastest path here; the "sse2" cases time the path
// taken on processors without AVX2, the "plain" ones the per-pixel path.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "pipeline.h"
#include "planes.h"
#include "scene.h"
#include "stages/demosaic.h"
#include "stages/demosaic_paths.h"

namespace {

using MethodFn = void (*)(std::uint8_t*, std::uint8_t*, int, int);

enum class Content { Chart, Wedge, Noise };

void LoadContent(Content content, int width, int height) {
    std::vector<std::uint8_t> frame;
    if (content == Content::Noise) {
        std::mt19937 rng(1);
        frame.resize(std::size_t(width) * height);
        for (auto& v : frame) v = std::uint8_t(rng());
    } else {
        frame = RenderSceneRaw(
            content == Content::Chart ? Scene::ToneChart : Scene::ResolutionWedge, width, height);
    }
    LoadFrame(frame.data(), width, height);
}

void Run(benchmark::State& state, MethodFn method, Content content) {
    const int w = int(state.range(0)), h = int(state.range(1));
    LoadContent(content, w, h);
    for (auto _ : state) {
        method(gRawPlane, gRgbPlane, w, h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void RunPath(benchmark::State& state, DemosaicMethod method, const DemosaicPath* path) {
    if (path == nullptr) {
        state.SkipWithError("path not built here");
        return;
    }
    const int w = int(state.range(0)), h = int(state.range(1));
    LoadContent(Content::Chart, w, h);
    for (auto _ : state) {
        RunDemosaic(method, *path, gRawPlane, gRgbPlane, w, h);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

#define DEMOSAIC_BENCH(name, fn)                     \
    BENCHMARK_CAPTURE(Run, name, fn, Content::Chart) \
        ->Args({640, 480})                           \
        ->Args({320, 240})                           \
        ->Unit(benchmark::kMicrosecond)

DEMOSAIC_BENCH(Bilinear, &DemosaicBilinear);
DEMOSAIC_BENCH(Tvng, &DemosaicTvng);
DEMOSAIC_BENCH(Blur, &DemosaicBlur);
DEMOSAIC_BENCH(TvngLine, &DemosaicTvngLine);

BENCHMARK_CAPTURE(Run, TvngLine_wedge, &DemosaicTvngLine, Content::Wedge)
    ->Args({640, 480})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Run, TvngLine_noise, &DemosaicTvngLine, Content::Noise)
    ->Args({640, 480})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Run, Tvng_noise, &DemosaicTvng, Content::Noise)
    ->Args({640, 480})
    ->Unit(benchmark::kMicrosecond);

#define DEMOSAIC_PATH_BENCH(name, method, path) \
    BENCHMARK_CAPTURE(RunPath, name, method, path)->Args({640, 480})->Unit(benchmark::kMicrosecond)

DEMOSAIC_PATH_BENCH(Bilinear_sse2, DemosaicMethod::Bilinear, Sse2DemosaicPath());
DEMOSAIC_PATH_BENCH(Tvng_sse2, DemosaicMethod::Tvng, Sse2DemosaicPath());
DEMOSAIC_PATH_BENCH(Blur_sse2, DemosaicMethod::Blur, Sse2DemosaicPath());
DEMOSAIC_PATH_BENCH(TvngLine_sse2, DemosaicMethod::TvngLine, Sse2DemosaicPath());
DEMOSAIC_PATH_BENCH(Bilinear_plain, DemosaicMethod::Bilinear, &PlainDemosaicPath());
DEMOSAIC_PATH_BENCH(Tvng_plain, DemosaicMethod::Tvng, &PlainDemosaicPath());
DEMOSAIC_PATH_BENCH(Blur_plain, DemosaicMethod::Blur, &PlainDemosaicPath());
DEMOSAIC_PATH_BENCH(TvngLine_plain, DemosaicMethod::TvngLine, &PlainDemosaicPath());

}  // namespace
