// Loading and saving one set's settings records from a settings file padded
// with other sections to 64 KB, 1 MB and 10 MB: the cost should follow the
// file's size once, not its size times the records' hundred-odd keys.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "letter_params.h"
#include "stage_params.h"

namespace {

std::string PaddedSettingsFile(std::size_t bytes) {
    const std::string path = "/tmp/prism-bench-" + std::to_string(::getpid()) + ".ini";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::size_t written = 0;
    for (int section = 0; written < bytes; ++section) {
        written += std::fprintf(f, "[Other%d]\r\n", section);
        for (int key = 0; key < 100 && written < bytes; ++key)
            written += std::fprintf(f, "Key%d=some value of a few words\r\n", key);
    }
    std::fclose(f);
    CStageParams().Save(path.c_str());
    CLetterParams().Save(path.c_str());
    return path;
}

void BM_LoadSetFromPaddedFile(benchmark::State& state) {
    const std::string path = PaddedSettingsFile(std::size_t(state.range(0)) << 10);
    CStageParams stage;
    CLetterParams letter;
    for (auto _ : state) {
        stage.Load(path.c_str());
        letter.Load(path.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadSetFromPaddedFile)->Arg(64)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);

void BM_SaveSetIntoPaddedFile(benchmark::State& state) {
    const std::string path = PaddedSettingsFile(std::size_t(state.range(0)) << 10);
    const CStageParams stage;
    const CLetterParams letter;
    for (auto _ : state) {
        stage.Save(path.c_str());
        letter.Save(path.c_str());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveSetIntoPaddedFile)->Arg(64)->Arg(1024)->Arg(10240)->Unit(benchmark::kMillisecond);

}  // namespace
