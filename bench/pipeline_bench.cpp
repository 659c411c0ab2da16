// The whole development with the default settings: the pipeline alone, and
// the pipeline with the JPEG writer, on a 640 x 480 frame of a generated scene.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "letter_params.h"
#include "pipeline.h"
#include "prism_api.h"
#include "scene.h"
#include "stage_params.h"

namespace {

void BM_DefaultPipeline(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const std::vector<std::uint8_t> frame = RenderSceneRaw(Scene::ToneChart, w, h);
    CStageParams stage;
    CLetterParams letter;
    const PipelineSettings settings{stage, letter, 0};
    for (auto _ : state) RunPipeline(settings, frame.data(), w, h, 0);
}
BENCHMARK(BM_DefaultPipeline)->Args({640, 480})->Args({320, 240})->Unit(benchmark::kMillisecond);

void BM_DefaultBufToJpg(benchmark::State& state) {
    std::vector<std::uint8_t> frame = RenderSceneRaw(Scene::ToneChart, 640, 480);
    frame.resize(frame.size() + 128);
    const std::string path = "/tmp/prism-bench-" + std::to_string(::getpid()) + ".jpg";
    for (auto _ : state) benchmark::DoNotOptimize(BufToJpg(640, 480, frame.data(), path.c_str(), 0, 0));
    std::remove(path.c_str());
}
BENCHMARK(BM_DefaultBufToJpg)->Unit(benchmark::kMillisecond);

}  // namespace
