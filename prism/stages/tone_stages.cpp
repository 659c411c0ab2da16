// Tone stages of the letter string. Each builds a 256-entry mapping once per
// call and rewrites the RGB plane (width x height pixels of blue, green, red
// bytes) in place: E applies a gamma curve, F a gamma combined with an
// S-shaped contrast curve, J adds a constant offset, L scales each colour by
// its own weight in thousandths. Values are sample steps 0..255.
#include "tone_stages.h"

#include <algorithm>
#include <cstddef>

#include "../letter_params.h"
#include "../platform/platform.h"
#include "../tone_curve_math.h"
#include "../tone_table.h"

namespace {

constexpr int kWeightUnit = 1000;  // weights are thousandths
// Any offset of this size or more already sends every byte to one end.
constexpr int kShiftLimit = 256;

std::size_t PlaneBytes(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return std::size_t(width) * std::size_t(height) * 3;
}

// T[i] = i * weight / 1000 rounded by MulDiv, limited to 0..255 (a negative
// weight gives 0).
void BuildWeightTable(std::uint8_t* table, int weight) {
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::clamp(platform::MulDiv(i, weight, kWeightUnit), 0, 255));
}

}  // namespace

void LetterGamma(std::uint8_t* rgb, int width, int height, double g) {
    ToneTable table;
    BuildGammaTable(table, g);
    ApplyToneTable(table, rgb, PlaneBytes(width, height));
}

void LetterSGamma(std::uint8_t* rgb, int width, int height, double g, double s, double left) {
    ToneTable table;
    BuildSGammaTable(table, 256, left, s, g);
    ApplyToneTable(table, rgb, PlaneBytes(width, height));
}

void LetterShift(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    const int shift = std::clamp(params.Shift, -kShiftLimit, kShiftLimit);
    ToneTable table;
    for (int i = 0; i < 256; ++i) table[i] = std::clamp(i + shift, 0, 255);
    ApplyToneTable(table, rgb, PlaneBytes(width, height));
}

void RgbWeight(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    std::uint8_t blue[256], green[256], red[256];
    BuildWeightTable(blue, params.WeightB);
    BuildWeightTable(green, params.WeightG);
    BuildWeightTable(red, params.WeightR);
    const std::size_t bytes = PlaneBytes(width, height);
    for (std::size_t i = 0; i < bytes; i += 3) {
        rgb[i] = blue[rgb[i]];
        rgb[i + 1] = green[rgb[i + 1]];
        rgb[i + 2] = red[rgb[i + 2]];
    }
}
