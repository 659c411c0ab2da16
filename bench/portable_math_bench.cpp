// Cost of the portable elementary functions against the C library's, per
// call, on the arguments the stages give them (curve bases 0..255 with
// exponents near 1, hue angles, arc cosine ratios), and of the tone-table
// builders that call them. The stage benchmarks (S-gamma, saturation step)
// show what that cost means per picture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "portable_math.h"
#include "tone_curve_math.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Argument sets of 256 entries, as a tone table or a row of pixels asks for.
std::vector<double> Angles() {
    std::vector<double> v;
    for (int i = 0; i < 256; ++i) v.push_back(i * (2 * kPi / 256) - kPi / 3);
    return v;
}

std::vector<double> Ratios() {
    std::vector<double> v;
    for (int i = 0; i < 256; ++i) v.push_back(i / 127.5 - 1.0);
    return v;
}

template <class Pow>
void RunPow(benchmark::State& state, Pow pow) {
    for (auto _ : state) {
        for (int i = 0; i < 256; ++i) benchmark::DoNotOptimize(pow(i, 0.8));
    }
    state.SetItemsProcessed(state.iterations() * 256);
}

template <class Function>
void RunOver(benchmark::State& state, const std::vector<double>& arguments, Function f) {
    for (auto _ : state) {
        for (double x : arguments) benchmark::DoNotOptimize(f(x));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(arguments.size()));
}

void BM_PowLibrary(benchmark::State& state) {
    RunPow(state, [](double x, double y) { return std::pow(x, y); });
}
void BM_PowPortable(benchmark::State& state) { RunPow(state, portable::Pow); }
void BM_CosLibrary(benchmark::State& state) {
    RunOver(state, Angles(), [](double x) { return std::cos(x); });
}
void BM_CosPortable(benchmark::State& state) { RunOver(state, Angles(), portable::Cos); }
void BM_AcosLibrary(benchmark::State& state) {
    RunOver(state, Ratios(), [](double x) { return std::acos(x); });
}
void BM_AcosPortable(benchmark::State& state) { RunOver(state, Ratios(), portable::Acos); }

// The curve computed every time (BuildGammaTable keeps the last tables).
void BM_GammaTable(benchmark::State& state) {
    ToneTable table;
    for (auto _ : state) {
        BuildPlainGammaTable(table, 0.7);
        benchmark::DoNotOptimize(table);
    }
}

void BM_SGammaTable(benchmark::State& state) {
    ToneTable table;
    for (auto _ : state) {
        BuildSGammaTable(table, 256, 0.5, 1.5, 0.8);
        benchmark::DoNotOptimize(table);
    }
}

}  // namespace

BENCHMARK(BM_PowLibrary);
BENCHMARK(BM_PowPortable);
BENCHMARK(BM_CosLibrary);
BENCHMARK(BM_CosPortable);
BENCHMARK(BM_AcosLibrary);
BENCHMARK(BM_AcosPortable);
BENCHMARK(BM_GammaTable);
BENCHMARK(BM_SGammaTable);
