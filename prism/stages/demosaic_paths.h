// Inside of the demosaicing unit: the row loop that the four methods share
// and the paths that compute the rows (plain C++, SSE2 and AVX2). All paths
// give the same bytes; the public methods take the fastest one the processor
// runs, the tests drive each path on its own.
#pragma once

#include <cstdint>

#include "../planes.h"

enum class DemosaicMethod { Bilinear, Tvng, Blur, TvngLine, Count };

// Row buffers: a raw row with two mirrored columns on each side, split by
// column parity into 16-bit samples, with a zero tail that a vector step may
// read past the row's end.
constexpr int kDemosaicTailCells = 40;
constexpr int kDemosaicRowCells = (kMaxRawWidth + 4) / 2 + kDemosaicTailCells;

// The five raw rows -2..+2 around the row being computed, border rule
// applied. cols[dy + 2][p][j] is column 2j + p; j = -1 reaches the mirrored
// columns -2 and -1, and the cells past the row's end hold the mirrored
// columns width and width + 1.
struct DemosaicRows {
    const std::int16_t* cols[5][2];
};

// Writes one row of width pixels (blue, green, red). Phase 0: the row's
// mosaic reads R G R G ...; phase 1: G B G B ...
using DemosaicRowFn = void (*)(const DemosaicRows& rows, int phase, int width, std::uint8_t* bgr);

// Splits count pairs of bytes into their even and odd members.
using DemosaicSplitFn = void (*)(const std::uint8_t* bytes, std::int16_t* even, std::int16_t* odd,
                                 int count);

struct DemosaicPath {
    DemosaicSplitFn split;
    DemosaicRowFn rows[int(DemosaicMethod::Count)];
};

const DemosaicPath& PlainDemosaicPath();
// Null when the build does not target SSE2.
const DemosaicPath* Sse2DemosaicPath();
// Null when the processor lacks AVX2.
const DemosaicPath* Avx2DemosaicPath();

// One demosaicing step with the given path, including the row flips of the
// method; refused (nothing written) outside the stage's range.
void RunDemosaic(DemosaicMethod method, const DemosaicPath& path, std::uint8_t* raw,
                 std::uint8_t* rgb, int width, int height);
