// Tone curves: fixed per-value mappings without neighbours. Before "3" gamma
// (`Gamma`), "4" S-gamma anti-over (`Gamma2`, `GammaS`, `GammaL`, with the
// white level measured by `AWB_Overflow`, `AWB_Noise`, `AWB_Percent_R`), "5"
// shift (`Shift`), "6" gamma per mosaic colour (`WeightR`, `WeightG`,
// `WeightB`, thousandths) on the raw plane; after "3" gamma (`GammaAfter`) on
// every byte of the RGB plane. Each builds one 256-entry table per call and
// rewrites its plane in place (the raw-plane ones through the pending tables
// of a deferred plane).
#include "tone_curves.h"

#include <algorithm>
#include <cstddef>

#include "../stage_params.h"
#include "../tone_curve_math.h"
#include "statistics.h"

namespace {

constexpr int kWeightUnity = 1000;
constexpr double kWeightScale = 0.001;

void IdentityTable(ToneTable& table) {
    for (int i = 0; i < 256; ++i) table[i] = i;
}

}  // namespace

void BuildAntiOverTable(int whiteLevel, double gamma, double sCurve, double leftPart,
                        ToneTable& table) {
    IdentityTable(table);
    BuildSGammaTable(table, std::clamp(whiteLevel, 0, 256), leftPart, sCurve, gamma);
}

// The raw-plane stages on a plain plane: their tables written at once.
template <void (*kStage)(const CStageParams&, DeferredPlane&)>
void AtOnce(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    DeferredPlane plane(raw, width, height);
    kStage(params, plane);
    plane.Flush();
}

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    AtOnce<RawGamma>(params, raw, width, height);
}
void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    AtOnce<SGammaAntiOver>(params, raw, width, height);
}
void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    AtOnce<RawShift>(params, raw, width, height);
}
void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    AtOnce<RawRgbGamma>(params, raw, width, height);
}

void RawGamma(const CStageParams& params, DeferredPlane& plane) {
    if (plane.Width() < 1 || plane.Height() < 1) return;
    ToneTable table;
    BuildGammaTable(table, params.Gamma);
    plane.Compose(table);
}

void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height) {
    if (width < 1 || height < 1) return;
    ToneTable table;
    BuildGammaTable(table, params.GammaAfter);
    ApplyToneTable(table, rgb, std::size_t(width) * height * 3);
}

void RawShift(const CStageParams& params, DeferredPlane& plane) {
    if (plane.Width() < 1 || plane.Height() < 1) return;
    ToneTable table;
    for (int i = 0; i < 256; ++i) {
        const long long shifted = i + static_cast<long long>(params.Shift);
        table[i] = static_cast<int>(std::min(std::max(shifted, 0LL), 255LL));
    }
    plane.Compose(table);
}

void RawRgbGamma(const CStageParams& params, DeferredPlane& plane) {
    if (plane.Width() < 1 || plane.Height() < 1) return;
    const int weights[3] = {params.WeightR, params.WeightG, params.WeightB};
    if (weights[0] == kWeightUnity && weights[1] == kWeightUnity && weights[2] == kWeightUnity)
        return;
    ToneTable tables[3];
    for (int c = 0; c < 3; ++c) {
        if (weights[c] == kWeightUnity)
            IdentityTable(tables[c]);
        else
            BuildGammaTable(tables[c], weights[c] * kWeightScale);
    }
    plane.Compose(tables[0], tables[1], tables[2]);
}

void SGammaAntiOver(const CStageParams& params, DeferredPlane& plane) {
    const ColourPercentiles points =
        MeasurePercentiles(plane, params.AWB_Overflow, params.AWB_Percent_R, params.AWB_Noise);
    if (points.counted < 0) return;
    const int whiteLevel = std::max({points.top[0], points.top[1], points.top[2]});
    ToneTable table;
    BuildAntiOverTable(whiteLevel, params.Gamma2, params.GammaS, params.GammaL, table);
    plane.Compose(table);
}
