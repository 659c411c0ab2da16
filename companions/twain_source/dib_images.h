// The pictures the data source hands out: packed DIBs in movable global
// memory (a 40-byte BITMAPINFOHEADER, no palette, then bottom-up rows padded
// to four bytes). It makes the generated test pictures and checks a DIB's
// header against its block before describing it to the application.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sim_source {

// Generated picture `index` (0-based, in transfer order), pixel at column x
// and row y counted from the top: blue x, green y, red 25 + 50 * index, each
// modulo 256; a 32-bit pixel's fourth byte is 0.
struct Bgr {
    std::uint8_t blue, green, red;
};
inline Bgr GeneratedPixel(int index, int x, int y) {
    return {std::uint8_t(x & 0xFF), std::uint8_t(y & 0xFF), std::uint8_t((25 + 50 * index) & 0xFF)};
}

// Row length in bytes of a DIB row, padded to four bytes.
inline std::uint64_t DibStride(std::uint64_t width, std::uint64_t bits) { return (width * bits + 31) / 32 * 4; }

// A movable, unlocked block with the generated picture; null when memory runs
// out. bits is 24 or 32.
HGLOBAL MakeGeneratedDib(int index, int width, int height, int bits);

struct DibShape {
    bool valid = false;
    int width = 0;
    int height = 0;  // positive: the DIB may be stored top-down
    int bits = 0;
};

// Describes an uncompressed 24- or 32-bit DIB whose header and pixels fit in
// its block; anything else is not valid.
DibShape DescribeDib(HGLOBAL dib);

}  // namespace sim_source
