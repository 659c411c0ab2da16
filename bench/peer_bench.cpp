// The peers on the same frame, for comparison in the same run: OpenCV's
// Bayer VNG and bilinear demosaicing, libjpeg-turbo compressing a developed
// picture alone, and the chain a user could build from them (VNG, then the
// JPEG file at quality 80 with the library's defaults). Built only when
// OpenCV's development files are installed; one thread, like Prism.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "scene.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kQuality = 80;

// The camera frame: red at row 0, column 0, which OpenCV names BayerBG.
const cv::Mat& Frame() {
    static const std::vector<std::uint8_t> raw = RenderSceneRaw(Scene::ToneChart, kWidth, kHeight);
    static const cv::Mat frame(kHeight, kWidth, CV_8UC1, const_cast<std::uint8_t*>(raw.data()));
    return frame;
}

void OneThread() { cv::setNumThreads(1); }

// Blue, green, red rows, top first, into a JPEG file with libjpeg-turbo's
// defaults at the given quality.
void CompressToFile(const cv::Mat& bgr, const char* path) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    std::FILE* file = std::fopen(path, "wb");
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(bgr.cols);
    cinfo.image_height = JDIMENSION(bgr.rows);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bgr.ptr(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::fclose(file);
    jpeg_destroy_compress(&cinfo);
}

std::string OutputPath() { return "/tmp/prism-peer-" + std::to_string(::getpid()) + ".jpg"; }

void RunDemosaic(benchmark::State& state, int code) {
    OneThread();
    cv::Mat bgr;
    for (auto _ : state) {
        cv::cvtColor(Frame(), bgr, code);
        benchmark::DoNotOptimize(bgr.data);
    }
}
BENCHMARK_CAPTURE(RunDemosaic, OpenCvVng, cv::COLOR_BayerBG2BGR_VNG)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RunDemosaic, OpenCvBilinear, cv::COLOR_BayerBG2BGR)->Unit(benchmark::kMicrosecond);

void BM_PeerJpegEncode(benchmark::State& state) {
    OneThread();
    cv::Mat bgr;
    cv::cvtColor(Frame(), bgr, cv::COLOR_BayerBG2BGR_VNG);
    const std::string path = OutputPath();
    for (auto _ : state) CompressToFile(bgr, path.c_str());
    std::remove(path.c_str());
}
BENCHMARK(BM_PeerJpegEncode)->Unit(benchmark::kMillisecond);

void BM_PeerChainVngJpeg(benchmark::State& state) {
    OneThread();
    cv::Mat bgr;
    const std::string path = OutputPath();
    for (auto _ : state) {
        cv::cvtColor(Frame(), bgr, cv::COLOR_BayerBG2BGR_VNG);
        CompressToFile(bgr, path.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_PeerChainVngJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
