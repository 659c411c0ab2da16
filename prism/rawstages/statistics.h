// Statistics that the white balances, the auto level and the S-gamma gather
// before they change a picture: the confined neighbours of the raw mosaic,
// the over-exposure rule, histograms of 256 bins with 32-bit pixel counts,
// and the two percentile searches. Sample values are 0..255, counts are
// pixels, percentiles are in tenths of a percent. The inline part serves the
// letter stages as well as the raw-plane stages; statistics.cpp holds what
// only the raw-plane stages share (the statistics demosaic into the scratch
// buffer, the per-site table walk, curve values as integers), so that the
// stages never call into their sequencer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "../platform/platform.h"
#include "../tone_table.h"

constexpr int kHistogramBins = 256;
using Histogram = int[kHistogramBins];

struct ColourHistograms {
    Histogram blue;
    Histogram green;
    Histogram red;
};

// A pixel with two or three channels above the threshold is over-exposed and
// stays out of the statistics; one bright channel is just a strong colour.
inline bool IsOverExposed(int blue, int green, int red, int threshold) {
    return (blue > threshold) + (green > threshold) + (red > threshold) >= 2;
}

// Clears the histograms and counts every pixel (blue, green, red bytes) that
// is not over-exposed; returns how many pixels took part.
inline int GatherHistograms(const std::uint8_t* bgr, std::size_t pixelCount, int overflow,
                            ColourHistograms& histograms) {
    histograms = ColourHistograms{};
    int counted = 0;
    for (std::size_t i = 0; i < pixelCount; ++i) {
        const std::uint8_t* p = bgr + 3 * i;
        if (IsOverExposed(p[0], p[1], p[2], overflow)) continue;
        ++histograms.blue[p[0]];
        ++histograms.green[p[1]];
        ++histograms.red[p[2]];
        ++counted;
    }
    return counted;
}

// Pixel count that a percentile stands for, rounded half away from zero.
inline int PercentileTarget(int tenthsOfPercent, int pixelCount) {
    return platform::MulDiv(tenthsOfPercent, pixelCount, 1000);
}

// Both searches test the running sum before they add the bin, so the result
// lies one step beyond the last bin added. Bins holding noise pixels or fewer
// add nothing. A target of 0 gives 255 from the top and 0 from the bottom.
inline int SearchFromTop(const Histogram& histogram, int target, int noise) {
    int i = kHistogramBins - 1;
    int sum = 0;
    while (sum < target && i > 0) {
        if (histogram[i] > noise) sum += histogram[i];
        --i;
    }
    return i;
}

inline int SearchFromBottom(const Histogram& histogram, int target, int noise) {
    int i = 0;
    int sum = 0;
    while (sum < target && i < kHistogramBins - 1) {
        if (histogram[i] > noise) sum += histogram[i];
        ++i;
    }
    return i;
}

// Neighbour rows of the estimates are confined to 1 .. height - 2 and
// neighbour columns to 1 .. width - 2 (at the borders the neighbour becomes
// the pixel's own row or column). A plane one sample high or wide has no such
// range; there the neighbour is confined to the plane too, so it is the
// sample's own row or column and no read leaves the plane.
inline int NeighbourBefore(int i, int size) { return std::min(std::max(i - 1, 1), size - 1); }
inline int NeighbourAfter(int i, int size) { return std::max(std::min(i + 1, size - 2), 0); }

// The colours the statistics demosaic gives one position: the site's own
// sample and the other two estimated from the neighbours, sums of 8-bit
// samples halved or quartered by shifting (floor). Sites by stored row and
// column parity: even row green, blue; odd row red, green.
template <bool kOddRow, bool kOddColumn, typename Visit>
inline void StatisticsPixel(const std::uint8_t* row, const std::uint8_t* up,
                            const std::uint8_t* down, int x, int left, int right,
                            std::size_t index, Visit& visit) {
    const int own = row[x];
    const int across = row[left] + row[right];
    const int upDown = up[x] + down[x];
    if (kOddRow == kOddColumn) {  // green
        if (!kOddRow)
            visit(index, across >> 1, own, upDown >> 1);
        else
            visit(index, upDown >> 1, own, across >> 1);
        return;
    }
    const int cross = (across + upDown) >> 2;
    const int diagonal = (down[right] + down[left] + up[right] + up[left]) >> 2;
    if (!kOddRow)
        visit(index, own, cross, diagonal);  // blue
    else
        visit(index, diagonal, cross, own);  // red
}

template <bool kOddRow, typename Visit>
inline void StatisticsRow(const std::uint8_t* row, const std::uint8_t* up,
                          const std::uint8_t* down, int width, std::size_t base, Visit& visit) {
    auto confined = [&](int x) {
        const int left = NeighbourBefore(x, width);
        const int right = NeighbourAfter(x, width);
        if (x & 1)
            StatisticsPixel<kOddRow, true>(row, up, down, x, left, right, base + x, visit);
        else
            StatisticsPixel<kOddRow, false>(row, up, down, x, left, right, base + x, visit);
    };
    // Columns 0, 1 and the last two have confined neighbours; between them
    // the neighbours are the adjacent columns, taken in even-odd pairs.
    int x = 0;
    for (; x < width && x < 2; ++x) confined(x);
    for (; x + 1 < width - 2; x += 2) {
        StatisticsPixel<kOddRow, false>(row, up, down, x, x - 1, x + 1, base + x, visit);
        StatisticsPixel<kOddRow, true>(row, up, down, x + 1, x, x + 2, base + x + 1, visit);
    }
    for (; x < width; ++x) confined(x);
}

// Calls visit(index, blue, green, red) for every position of the raw plane in
// raster order with the colours of the statistics demosaic.
template <typename Visit>
void ForEachStatisticsPixel(const std::uint8_t* raw, int width, int height, Visit&& visit) {
    for (int y = 0; y < height; ++y) {
        const std::size_t base = std::size_t(y) * width;
        const std::uint8_t* up = raw + std::size_t(NeighbourBefore(y, height)) * width;
        const std::uint8_t* down = raw + std::size_t(NeighbourAfter(y, height)) * width;
        if (y & 1)
            StatisticsRow<true>(raw + base, up, down, width, base, visit);
        else
            StatisticsRow<false>(raw + base, up, down, width, base, visit);
    }
}

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height);

// Runs the statistics demosaic into the scratch RGB buffer and gathers the
// histograms of its pixels that pass the over-exposure rule with overflow.
// Returns the number of pixels counted, or -1 (nothing gathered) for a plane
// that is empty or larger than the scratch buffer.
int MeasureStatisticsImage(const std::uint8_t* raw, int width, int height, int overflow,
                           ColourHistograms& histograms);

// Replaces every raw sample by the entry of its site's table (low byte);
// both kinds of green site go through the green table.
void ApplySiteTables(std::uint8_t* raw, int width, int height, const ToneTable& red,
                     const ToneTable& green, const ToneTable& blue);

// A double truncated toward zero; NaN gives 0 and magnitudes beyond 2^30 are
// limited, so that settings outside their ranges cannot overflow later sums.
int TruncateToInt(double value);
