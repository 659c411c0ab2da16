// The whole development with the default settings (before "123", letter C
// with TVNG, no after string) on a generated scene: the pipeline alone, raw
// buffer to JPEG file at quality 80 and to BMP file through the exports, and
// the JPEG writer alone on the developed picture.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "jpeg_file.h"
#include "letter_params.h"
#include "pipeline.h"
#include "planes.h"
#include "prism_api.h"
#include "rows.h"
#include "scene.h"
#include "stage_params.h"

namespace {

std::string OutputPath(const char* extension) {
    return "/tmp/prism-bench-" + std::to_string(::getpid()) + extension;
}

// A camera frame as the exports take it: the record's 128 bytes behind it.
std::vector<std::uint8_t> CameraFrame(int width, int height) {
    std::vector<std::uint8_t> frame = RenderSceneRaw(Scene::ToneChart, width, height);
    frame.resize(frame.size() + 128);
    return frame;
}

void BM_DefaultPipeline(benchmark::State& state) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const std::vector<std::uint8_t> frame = RenderSceneRaw(Scene::ToneChart, w, h);
    CStageParams stage;
    CLetterParams letter;
    const PipelineSettings settings{stage, letter, 0};
    for (auto _ : state) RunPipeline(settings, frame.data(), w, h, 0);
}
BENCHMARK(BM_DefaultPipeline)->Args({640, 480})->Args({320, 240})->Unit(benchmark::kMillisecond);

using Export = int (*)(int, int, const unsigned char*, const char*, int, int);

void RunExport(benchmark::State& state, Export development, const char* extension) {
    const int w = int(state.range(0)), h = int(state.range(1));
    const std::vector<std::uint8_t> frame = CameraFrame(w, h);
    const std::string path = OutputPath(extension);
    for (auto _ : state) benchmark::DoNotOptimize(development(w, h, frame.data(), path.c_str(), 0, 0));
    std::remove(path.c_str());
}
BENCHMARK_CAPTURE(RunExport, BufToJpg, &BufToJpg, ".jpg")
    ->Args({640, 480})
    ->Args({320, 240})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunExport, BufToBmp, &BufToBmp, ".bmp")
    ->Args({640, 480})
    ->Unit(benchmark::kMillisecond);

// The developed picture in the writer's order (red, green, blue), compressed
// at the default quality 80 into a file.
void BM_JpegWriterAlone(benchmark::State& state) {
    const std::vector<std::uint8_t> frame = CameraFrame(640, 480);
    const CStageParams stage;
    const CLetterParams letter;
    RunPipeline({stage, letter, 0}, frame.data(), 640, 480, 0);
    std::vector<std::uint8_t> picture(gRgbPlane, gRgbPlane + 640 * 480 * 3);
    SwapRedBlue(picture.data(), 640 * 480);
    const std::string path = OutputPath(".jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteJpegFile(path.c_str(), picture.data(), 640, 480, stage.JPEG));
    std::remove(path.c_str());
}
BENCHMARK(BM_JpegWriterAlone)->Unit(benchmark::kMillisecond);

}  // namespace
