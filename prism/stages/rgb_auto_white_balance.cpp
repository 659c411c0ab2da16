// Letter K: white balance of the RGB plane (width x height pixels of blue,
// green, red bytes). The plane is copied to the scratch RGB buffer; every
// statistic and lookup reads the copy and the result is written back to the
// plane. Per colour a white point (a high percentile of the colour, pixels
// with two or three over-exposed bytes left out) is blended with one derived
// from the colour's average over near-grey pixels; one common target is
// chosen and each colour is stretched piecewise-linearly so that its white
// point lands on it. Percentiles are in tenths of a percent, the blend and
// saturations in thousandths, sample values in steps 0..255.
#include "rgb_auto_white_balance.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "../letter_params.h"
#include "../planes.h"
#include "../platform/platform.h"
#include "../tone_curve_math.h"

namespace {

constexpr int kThousand = 1000;
constexpr int kWeightTop = 50;  // weights of the S-curve mode run 0..50
constexpr int kWeightEntries = kWeightTop + 1;
constexpr int kAvgThreshold = 0;
constexpr int kAvgSCurve = 1;
constexpr int kAntiOver = 1;

struct Histograms {
    std::uint32_t blue[256] = {};
    std::uint32_t green[256] = {};
    std::uint32_t red[256] = {};
    int count = 0;
};

struct ColourSums {
    std::uint32_t blue = 0, green = 0, red = 0;  // wrap around, as 32-bit sums do
};

// Pixels with two or three bytes above the overflow level are left out.
void BuildHistograms(const std::uint8_t* pixels, std::size_t count, int overflow, Histograms& h) {
    for (std::size_t i = 0; i < count; ++i, pixels += 3) {
        const int over = (pixels[0] > overflow) + (pixels[1] > overflow) + (pixels[2] > overflow);
        if (over > 1) continue;
        ++h.blue[pixels[0]];
        ++h.green[pixels[1]];
        ++h.red[pixels[2]];
        ++h.count;
    }
}

// Search from the top; the test comes before the bin is added, and the
// result is the last bin visited: 256 for a target of 0, 1 when the bins
// 255..1 do not reach the target.
int WhitePoint(const std::uint32_t* histogram, int target, int noise) {
    long long sum = 0;
    int i = 255;
    while (sum < target) {
        if (static_cast<long long>(histogram[i]) > noise) sum += histogram[i];
        if (--i == 0) break;
    }
    return i + 1;
}

// Mode 0: pixels whose saturation 1000 - MulDiv(min, 3000, sum) is at most
// the limit add their bytes.
void SumGreyish(const std::uint8_t* pixels, std::size_t count, int saturationLimit, ColourSums& s) {
    for (std::size_t i = 0; i < count; ++i, pixels += 3) {
        const int b = pixels[0], g = pixels[1], r = pixels[2];
        const int q = platform::MulDiv(std::min({b, g, r}), 3 * kThousand, b + g + r);
        if (kThousand - q > saturationLimit) continue;
        s.blue += b;
        s.green += g;
        s.red += r;
    }
}

// Mode 1: the weight of a pixel grows with its greyness j = MulDiv(min, 150, sum),
// 0..50, along an S-curve; weights are rounded with halves going up.
void BuildGreynessWeights(double left, double curve, int* weights) {
    double x[kWeightEntries];
    BuildSCurve(x, kWeightEntries, kWeightEntries - FractionOf(left, kWeightEntries), curve);
    for (int i = 0; i < kWeightEntries; ++i) {
        const int truncated = static_cast<int>(x[i]);
        weights[i] = truncated + (x[i] - truncated >= 0.5 ? 1 : 0);
    }
}

void SumWeighted(const std::uint8_t* pixels, std::size_t count, const int* weights, ColourSums& s) {
    for (std::size_t i = 0; i < count; ++i, pixels += 3) {
        const int b = pixels[0], g = pixels[1], r = pixels[2];
        const int sum = b + g + r;
        if (sum == 0) continue;  // a black pixel adds nothing
        const std::uint32_t w = weights[platform::MulDiv(std::min({b, g, r}), 3 * kWeightTop, sum)];
        s.blue += b * w;
        s.green += g * w;
        s.red += r * w;
    }
}

// Piecewise-linear table that takes white point h to about target o and
// squeezes the range above h into o..255. With the blend limited, h and o
// lie in -1..255 and -1..256: no segment runs past the table, no divisor is
// 0 and no entry falls below 0.
void BuildStretchTable(int h, int o, std::uint8_t* table) {
    for (int i = 0; i <= h; ++i) table[i] = static_cast<std::uint8_t>(std::min(255, i * (o + 1) / (h + 1)));
    for (int i = h + 1; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::min(255, o + (256 - o) * (i - h) / (256 - h)));
}

}  // namespace

void RgbAutoWhiteBalance(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxRgbPixels) return;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    std::memcpy(gScratchRgb, rgb, count * 3);
    const std::uint8_t* copy = gScratchRgb;

    // The blend is limited to 0..1: outside it white points would turn negative.
    const int a = FractionOf(params.AWB_Average, kThousand);

    Histograms h;
    BuildHistograms(copy, count, params.AWB_Overflow, h);
    const int target = platform::MulDiv(params.AWB_Percent_R, h.count, kThousand);
    const int hiRed = WhitePoint(h.red, target, params.AWB_Noise);
    const int hiGreen = WhitePoint(h.green, target, params.AWB_Noise);
    const int hiBlue = WhitePoint(h.blue, target, params.AWB_Noise);

    ColourSums sums;
    if (params.AWB_AvgType == kAvgThreshold) {
        SumGreyish(copy, count, params.AWB_Saturation, sums);
    } else if (params.AWB_AvgType == kAvgSCurve) {
        int weights[kWeightEntries];
        BuildGreynessWeights(params.AWB_Left, params.AWB_Curve, weights);
        SumWeighted(copy, count, weights, sums);
    }

    const int avgBlue = static_cast<int>(sums.blue / kThousand);
    const int avgGreen = static_cast<int>(sums.green / kThousand);
    const int avgRed = static_cast<int>(sums.red / kThousand);
    const int avgMax = std::max({avgBlue, avgGreen, avgRed});
    // The colour with the largest average gets 255, the others proportionally less.
    const auto blend = [a, avgMax](int hi, int avg) {
        return ((kThousand - a) * hi + a * platform::MulDiv(avg, 255, avgMax)) / kThousand;
    };
    const int wRed = blend(hiRed, avgRed);
    const int wGreen = blend(hiGreen, avgGreen);
    const int wBlue = blend(hiBlue, avgBlue);

    int common = std::max({wRed, wGreen, wBlue});
    if (params.AWB_Type == kAntiOver) common = (std::min({wRed, wGreen, wBlue}) + 2 * common) / 3;

    // A white point of 256 (a percentile target of 0) would run the first
    // segment past the table: it is taken as 255.
    std::uint8_t tableRed[256], tableGreen[256], tableBlue[256];
    BuildStretchTable(std::min(wRed, 255), common, tableRed);
    BuildStretchTable(std::min(wGreen, 255), common, tableGreen);
    BuildStretchTable(std::min(wBlue, 255), common, tableBlue);

    for (std::size_t i = 0; i < count * 3; i += 3) {
        rgb[i] = tableBlue[copy[i]];
        rgb[i + 1] = tableGreen[copy[i + 1]];
        rgb[i + 2] = tableRed[copy[i + 2]];
    }
}
