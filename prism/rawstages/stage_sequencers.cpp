// Stage sequencers: the before string (`OPBefore`) runs one raw-plane stage
// per digit "1".."6" before demosaicing, the after string (`OPAfter`) one
// RGB-plane stage per digit "1".."3" after the letter stages; other
// characters select nothing. Also the helpers those stages share: the
// statistics demosaic into the scratch RGB buffer, the per-site table walk
// of the raw mosaic and the conversion of curve values into table entries.
#include "stage_sequencers.h"

#include <cmath>
#include <cstring>

#include "../planes.h"
#include "../stage_params.h"
#include "auto_level.h"
#include "auto_white_balance.h"
#include "colour_enhance.h"
#include "colour_matrix.h"
#include "tone_curves.h"

namespace {

// Length of a step string, never reading past its buffer even when a record
// was filled without a terminator.
template <std::size_t N>
std::size_t StepCount(const char (&steps)[N]) {
    const void* end = std::memchr(steps, '\0', N);
    return end ? static_cast<const char*>(end) - steps : N;
}

}  // namespace

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    // The length is taken again after every step.
    for (std::size_t i = 0; i < StepCount(params.OPBefore); ++i) {
        switch (params.OPBefore[i]) {
            case '1': AutoWhiteBalance(params, raw, width, height); break;
            case '2': AutoLevel(params, raw, width, height); break;
            case '3': RawGamma(params, raw, width, height); break;
            case '4': SGammaAntiOver(params, raw, width, height); break;
            case '5': RawShift(params, raw, width, height); break;
            case '6': RawRgbGamma(params, raw, width, height); break;
            default: break;
        }
    }
    return 1;
}

int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height) {
    for (std::size_t i = 0; i < StepCount(params.OPAfter); ++i) {
        switch (params.OPAfter[i]) {
            case '1':
                ColourEnhanceLinear(params, rgb, width, height);
                ColourEnhanceSaturation(rgb, width, height, params.CE_Saturation);
                break;
            case '2': ColourMatrix(rgb, width, height, params.CM); break;
            case '3': RgbGamma(params, rgb, width, height); break;
            default: break;
        }
    }
    return 1;
}

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
