// Demosaicing (letter C): turns the raw plane (one colour-filter sample
// 0..255 per pixel, rows bottom-up) into the RGB plane (blue, green, red
// bytes per pixel, the same row order) by one of four methods: bilinear,
// TVNG (threshold-based variable number of gradients), a fixed 5 x 5 blur
// and TVNG-Line (TVNG that keeps lines and corrects by colour differences).
//
// Bilinear, TVNG and TVNG-Line work in frame order: they flip the raw
// plane's rows and leave them so. Each of their rows goes straight to its
// bottom-up place in the RGB plane, which gives the bytes of interpolating
// in frame order and flipping the RGB plane afterwards without the second
// pass. Blur works in stored order and leaves the raw plane as it is.
//
// The five rows around the one being computed are kept split by column
// parity in a ring of fixed row buffers; the site formulas are in
// demosaic_sites.h, the paths that run them in demosaic_plain.cpp,
// demosaic_sse2.cpp and demosaic_avx2.cpp.
#include "demosaic.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "../letter_params.h"
#include "../rows.h"
#include "demosaic_paths.h"

namespace {

constexpr int kRingRows = 5;

// Row or column i + d (d = -2..2) under the border rule: one step outside
// mirrors to the other side, two steps outside is the centre's own row or
// column. Both keep the mosaic colour.
int Neighbour(int i, int d, int size) {
    const int k = i + d;
    if (k < 0) return d == -1 ? 1 : i;
    if (k >= size) return d == 1 ? size - 2 : i;
    return k;
}


const DemosaicPath& FastestPath() {
    static const DemosaicPath* const fastest =
        Avx2DemosaicPath() != nullptr ? Avx2DemosaicPath() : Sse2DemosaicPath();
    return fastest != nullptr ? *fastest : PlainDemosaicPath();
}

}  // namespace

// The methods are defined from four columns and two rows up, the row
// buffers hold kMaxRawWidth columns, and the raw plane kMaxRawPixels samples
// (a Digital Expand before letter C may ask for more).
bool DemosaicCovers(int width, int height) {
    return width >= 4 && width <= kMaxRawWidth && height >= 2 &&
           std::int64_t(width) * height <= kMaxRawPixels;
}

void FlipRawRows(std::uint8_t* raw, int width, int height) {
    if (width < 1 || width > kMaxRawWidth) return;
    FlipRows(raw, std::size_t(width), height);
}

void FlipRgbRows(std::uint8_t* rgb, int width, int height) {
    if (width < 1 || width > kMaxRawWidth) return;
    FlipRows(rgb, std::size_t(width) * 3, height);
}

void RunDemosaic(DemosaicMethod method, const DemosaicPath& path, std::uint8_t* raw,
                 std::uint8_t* rgb, int width, int height) {
    if (!DemosaicCovers(width, height)) return;
    const bool frameOrder = method != DemosaicMethod::Blur;
    if (frameOrder) FlipRawRows(raw, width, height);

    // Row r of the raw plane lives in slot r % 5 once loaded; rows y - 2 ..
    // y + 2 are five consecutive rows, so they never share a slot.
    std::int16_t ring[kRingRows][2][kDemosaicRowCells];
    std::uint8_t padded[2 * kDemosaicRowCells] = {};
    const int cells = ((width + 5) / 2 + kDemosaicTailCells) / 16 * 16;
    const auto load = [&](int r) {
        const std::uint8_t* src = raw + std::size_t(r) * width;
        // The border rule as padding: column -1 (the mirror for column 0,
        // the own column for column 1) is column 1, column -2 (read only by
        // column 0) is column 0; the same at the right end.
        padded[0] = src[0];
        padded[1] = src[1];
        std::memcpy(padded + 2, src, std::size_t(width));
        padded[width + 2] = src[width - 2];
        padded[width + 3] = src[width - 1];
        path.split(padded, ring[r % kRingRows][0], ring[r % kRingRows][1], cells);
    };

    const DemosaicRowFn rowFn = path.rows[int(method)];
    const std::size_t rowBytes = std::size_t(width) * 3;
    int loaded = 0;
    for (int y = 0; y < height; ++y) {
        for (; loaded <= std::min(y + 2, height - 1); ++loaded) load(loaded);
        DemosaicRows rows;
        for (int d = -2; d <= 2; ++d) {
            const int slot = Neighbour(y, d, height) % kRingRows;
            rows.cols[d + 2][0] = ring[slot][0] + 1;  // index -1: columns -2 and -1
            rows.cols[d + 2][1] = ring[slot][1] + 1;
        }
        // Frame row 0 reads R G R G. Blur takes the parity of the stored
        // row: even stored rows read G B G B, as they do for an even height.
        const int phase = frameOrder ? (y & 1) : ((y + 1) & 1);
        const int outRow = frameOrder ? height - 1 - y : y;
        rowFn(rows, phase, width, rgb + std::size_t(outRow) * rowBytes);
    }
}

void DemosaicBilinear(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) {
    RunDemosaic(DemosaicMethod::Bilinear, FastestPath(), raw, rgb, width, height);
}

void DemosaicTvng(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) {
    RunDemosaic(DemosaicMethod::Tvng, FastestPath(), raw, rgb, width, height);
}

void DemosaicBlur(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) {
    RunDemosaic(DemosaicMethod::Blur, FastestPath(), raw, rgb, width, height);
}

void DemosaicTvngLine(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) {
    RunDemosaic(DemosaicMethod::TvngLine, FastestPath(), raw, rgb, width, height);
}

void Demosaic(const CLetterParams& params, std::uint8_t* raw, std::uint8_t* rgb, int width,
              int height) {
    switch (params.Interpolation) {
        case 1: DemosaicTvng(raw, rgb, width, height); break;
        case 2: DemosaicBlur(raw, rgb, width, height); break;
        case 3: DemosaicTvngLine(raw, rgb, width, height); break;
        default: DemosaicBilinear(raw, rgb, width, height); break;  // BiLinear is 0
    }
}
