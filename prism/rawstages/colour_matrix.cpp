// Colour matrix: mixes the red, green and blue of every pixel of the RGB
// plane (width x height pixels of blue, green, red bytes) through a 3 x 3
// matrix of doubles given row by row; row 1 makes red, row 2 green, row 3
// blue, and column 1 weighs red, column 2 green, column 3 blue. The plane is
// copied to the scratch RGB buffer and the results are written back; each
// result is limited to 0..255 and then truncated (no rounding).
#include "colour_matrix.h"

#include <cstddef>
#include <cstring>

#include "../planes.h"

namespace {

// Limited first, then truncated; a value that is not a number gives 0.
std::uint8_t ClampTruncate(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<std::uint8_t>(v);
}

}  // namespace

void ColourMatrix(std::uint8_t* rgb, int width, int height, const double* matrix) {
    if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxRgbPixels) return;
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 3;
    std::memcpy(gScratchRgb, rgb, bytes);
    const double m11 = matrix[0], m12 = matrix[1], m13 = matrix[2];
    const double m21 = matrix[3], m22 = matrix[4], m23 = matrix[5];
    const double m31 = matrix[6], m32 = matrix[7], m33 = matrix[8];
    for (std::size_t i = 0; i < bytes; i += 3) {
        const double b = gScratchRgb[i], g = gScratchRgb[i + 1], r = gScratchRgb[i + 2];
        // Each sum in this order: blue term, green term, red term.
        rgb[i] = ClampTruncate(b * m33 + g * m32 + r * m31);
        rgb[i + 1] = ClampTruncate(b * m23 + g * m22 + r * m21);
        rgb[i + 2] = ClampTruncate(b * m13 + g * m12 + r * m11);
    }
}
