// The raw-plane stages' shared helpers: the statistics demosaic into the
// scratch RGB buffer, the per-site table walk of the raw mosaic and the
// conversion of curve values into integers.
#include "statistics.h"

#include <cmath>

#include "../planes.h"

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height) {
    ForEachStatisticsPixel(raw, width, height,
                           [out](std::size_t index, int blue, int green, int red) {
                               std::uint8_t* p = out + 3 * index;
                               p[0] = static_cast<std::uint8_t>(blue);
                               p[1] = static_cast<std::uint8_t>(green);
                               p[2] = static_cast<std::uint8_t>(red);
                           });
}

int MeasureStatisticsImage(const std::uint8_t* raw, int width, int height, int overflow,
                           ColourHistograms& histograms) {
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > kMaxRgbPixels)
        return -1;
    DemosaicForStatistics(raw, gScratchRgb, width, height);
    return GatherHistograms(gScratchRgb, std::size_t(width) * height, overflow, histograms);
}

void ApplySiteTables(std::uint8_t* raw, int width, int height, const ToneTable& red,
                     const ToneTable& green, const ToneTable& blue) {
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = raw + std::size_t(y) * width;
        const ToneTable& even = (y & 1) ? red : green;
        const ToneTable& odd = (y & 1) ? green : blue;
        int x = 0;
        for (; x + 1 < width; x += 2) {
            row[x] = static_cast<std::uint8_t>(even[row[x]]);
            row[x + 1] = static_cast<std::uint8_t>(odd[row[x + 1]]);
        }
        if (x < width) row[x] = static_cast<std::uint8_t>(even[row[x]]);
    }
}

int TruncateToInt(double value) {
    constexpr double kLimit = 1 << 30;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return 1 << 30;
    if (value < -kLimit) return -(1 << 30);
    return static_cast<int>(value);
}
