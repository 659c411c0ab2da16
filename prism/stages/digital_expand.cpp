// Digital expand (letter N): doubles a width x height RGB image (three bytes
// per pixel, blue, green, red) to 2 * width x 2 * height in the same plane by
// bilinear interpolation. The source is read from its copy in gScratchRgb; at
// the last column and row the missing neighbour is the pixel itself. The
// caller doubles the working size.
#include "digital_expand.h"

#include <cstring>

#include "../planes.h"
#include "neighbourhood.h"

namespace {

// One output row from source rows a and b (b is a itself on the last row):
// even pixels average a and b, odd pixels also their right neighbours.
void ExpandRow(const std::uint8_t* a, const std::uint8_t* b, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::size_t at = std::size_t(x) * 3;
        const std::size_t right = std::size_t(x + 1 < width ? x + 1 : x) * 3;
        std::uint8_t* even = out + 2 * at;
        std::uint8_t* odd = even + 3;
        for (int c = 0; c < 3; ++c) {
            even[c] = static_cast<std::uint8_t>((a[at + c] + b[at + c]) >> 1);
            odd[c] = static_cast<std::uint8_t>(
                (a[at + c] + a[right + c] + b[at + c] + b[right + c]) >> 2);
        }
    }
}

}  // namespace

void DigitalExpand(std::uint8_t* rgb, int width, int height) {
    if (!RgbImageFits(width, height) || !RgbImageFits(2 * width, 2 * height)) return;
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::memcpy(gScratchRgb, rgb, rowBytes * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* a = gScratchRgb + y * rowBytes;
        const std::uint8_t* b = y + 1 < height ? a + rowBytes : a;
        std::uint8_t* out = rgb + 2 * y * (2 * rowBytes);
        ExpandRow(a, a, width, out);  // a row with itself: its own values
        ExpandRow(a, b, width, out + 2 * rowBytes);
    }
}
