// Statistics that the white balances, the auto level and the S-gamma gather
// before they change a picture: the confined neighbours of the raw mosaic,
// the over-exposure rule, histograms of 256 bins with 32-bit pixel counts,
// and the two percentile searches. Sample values are 0..255, counts are
// pixels, percentiles are in tenths of a percent. Header-only, so that the
// letter stages can use it as well as the raw-plane stages.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "../platform/platform.h"

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

// Calls visit(index, blue, green, red) for every position of the raw plane in
// raster order, with the colours that the statistics demosaic gives it: the
// site's own sample and the other two estimated from the confined
// neighbours, sums of 8-bit samples halved or quartered by shifting (floor).
// Sites by stored row and column parity: even row green, blue; odd row red,
// green.
template <typename Visit>
void ForEachStatisticsPixel(const std::uint8_t* raw, int width, int height, Visit&& visit) {
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = raw + std::size_t(y) * width;
        const std::uint8_t* up = raw + std::size_t(NeighbourBefore(y, height)) * width;
        const std::uint8_t* down = raw + std::size_t(NeighbourAfter(y, height)) * width;
        const bool oddRow = (y & 1) != 0;
        for (int x = 0; x < width; ++x) {
            const int left = NeighbourBefore(x, width);
            const int right = NeighbourAfter(x, width);
            const int own = row[x];
            const int across = row[left] + row[right];
            const int upDown = up[x] + down[x];
            const int cross = across + upDown;
            const int diagonal = down[right] + down[left] + up[right] + up[left];
            const std::size_t index = std::size_t(y) * width + x;
            if (!oddRow) {
                if ((x & 1) == 0)
                    visit(index, across >> 1, own, upDown >> 1);  // green
                else
                    visit(index, own, cross >> 2, diagonal >> 2);  // blue
            } else {
                if ((x & 1) == 0)
                    visit(index, diagonal >> 2, cross >> 2, own);  // red
                else
                    visit(index, upDown >> 1, own, across >> 1);  // green
            }
        }
    }
}
