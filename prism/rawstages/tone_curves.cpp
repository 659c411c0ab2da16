// Tone curves: fixed per-value mappings without neighbours. Before "3" gamma
// (`Gamma`), "4" S-gamma anti-over (`Gamma2`, `GammaS`, `GammaL`, with the
// white level measured by `AWB_Overflow`, `AWB_Noise`, `AWB_Percent_R`), "5"
// shift (`Shift`), "6" gamma per mosaic colour (`WeightR`, `WeightG`,
// `WeightB`, thousandths) on the raw plane; after "3" gamma (`GammaAfter`) on
// every byte of the RGB plane. Each builds one 256-entry table per call and
// rewrites its plane in place; the S-gamma fills the scratch RGB buffer.
#include "tone_curves.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "../stage_params.h"
#include "stage_sequencers.h"

namespace {

constexpr int kWeightUnity = 1000;
constexpr double kWeightScale = 0.001;

bool UsableExponent(double exponent) { return exponent > 0 && std::isfinite(exponent); }

void IdentityTable(ToneTable& table) {
    for (int i = 0; i < 256; ++i) table[i] = i;
}

// i^exponent x factor, the power curve through 0 and top when the caller has
// computed factor = top^(1 - exponent) once. Where that product overflows
// (very large exponents), the same curve as top x (i / top)^exponent.
double PowerCurve(int i, double exponent, double factor, int top) {
    const double v = std::pow(i, exponent) * factor;
    return std::isfinite(v) ? v : top * std::pow(double(i) / top, exponent);
}

// One part of the S-curve over count entries, keeping 0 and count - 1. A
// part of one entry or an exponent not above 0 leaves the part straight.
void PowerPart(int count, double s, double* part) {
    const bool usable = count > 1 && UsableExponent(s);
    const double factor = usable ? std::pow(count - 1.0, 1 - s) : 0;
    for (int i = 0; i < count; ++i) part[i] = usable ? PowerCurve(i, s, factor, count - 1) : i;
}

}  // namespace

void BuildGammaTable(double exponent, ToneTable& table) {
    if (!UsableExponent(exponent)) return IdentityTable(table);
    const double factor = std::pow(255.0, 1 - exponent);
    for (int i = 0; i < 256; ++i) table[i] = ToneByte(PowerCurve(i, exponent, factor, 255), i);
}

void BuildSGammaTable(int whiteLevel, double gamma, double sCurve, double leftPart,
                      ToneTable& table) {
    IdentityTable(table);
    // A white level of 0 or 1 leaves nothing to shape.
    const int m = std::min(whiteLevel, 256);
    if (m <= 1) return;
    const double split = m * leftPart;
    const int l = !(split > 0) ? 0 : split >= m ? m : static_cast<int>(split);

    double curve[256];
    PowerPart(l, sCurve, curve);
    double upper[256];
    PowerPart(m - l, sCurve, upper);
    // The upper part is the lower shape turned by half a circle.
    for (int i = l; i < m; ++i) curve[i] = (m - 1) - upper[m - 1 - i];

    // An unusable gamma leaves the S-curve alone.
    const bool gammaUsable = UsableExponent(gamma);
    const double k = gammaUsable ? std::pow(m - 1.0, 1 - gamma) : 0;
    for (int i = 0; i < m; ++i) {
        double v = curve[i];
        if (gammaUsable) {
            v = PowerCurve(i, gamma, k, m - 1);
            if (i != 0) v = v * curve[i] / i;
        }
        table[i] = ToneByte(v, i);
    }
}

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    if (width < 1 || height < 1) return;
    ToneTable table;
    BuildGammaTable(params.Gamma, table);
    ApplyToneTable(table, raw, std::size_t(width) * height);
}

void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height) {
    if (width < 1 || height < 1) return;
    ToneTable table;
    BuildGammaTable(params.GammaAfter, table);
    ApplyToneTable(table, rgb, std::size_t(width) * height * 3);
}

void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    if (width < 1 || height < 1) return;
    ToneTable table;
    for (int i = 0; i < 256; ++i) {
        const long long shifted = i + static_cast<long long>(params.Shift);
        table[i] = static_cast<int>(std::min(std::max(shifted, 0LL), 255LL));
    }
    ApplyToneTable(table, raw, std::size_t(width) * height);
}

void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    if (width < 1 || height < 1) return;
    const int weights[3] = {params.WeightR, params.WeightG, params.WeightB};
    if (weights[0] == kWeightUnity && weights[1] == kWeightUnity && weights[2] == kWeightUnity)
        return;
    ToneTable tables[3];
    for (int c = 0; c < 3; ++c) {
        if (weights[c] == kWeightUnity)
            IdentityTable(tables[c]);
        else
            BuildGammaTable(weights[c] * kWeightScale, tables[c]);
    }
    ApplySiteTables(raw, width, height, tables[0], tables[1], tables[2]);
}

void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    ColourHistograms stats;
    const int counted = MeasureStatisticsImage(raw, width, height, params.AWB_Overflow, stats);
    if (counted < 0) return;
    const int target = PercentileTarget(params.AWB_Percent_R, counted);
    const int noise = params.AWB_Noise;
    const int whiteLevel = std::max({SearchFromTop(stats.blue, target, noise),
                                     SearchFromTop(stats.green, target, noise),
                                     SearchFromTop(stats.red, target, noise)});
    ToneTable table;
    BuildSGammaTable(whiteLevel, params.Gamma2, params.GammaS, params.GammaL, table);
    ApplyToneTable(table, raw, std::size_t(width) * height);
}
