// BMP reader for BmpToJpg: uncompressed 1, 4, 8 and 24 bits per pixel, rows
// stored bottom-up (positive height) or top-down (negative height).
#pragma once

#include <cstdint>
#include <vector>

struct BmpImage {
    std::vector<std::uint8_t> rgb;  // red, green, blue; top row first; no padding
    int width = 0;
    int height = 0;
};

// False (image untouched) for a missing or unreadable file, a wrong type, an
// information header of unknown size, planes other than 1, compressed data,
// an unsupported depth, more colours than the depth holds, a pixel whose
// palette index lies beyond the palette, or sizes and offsets that do not fit
// the file.
bool ReadBmpFile(const char* path, BmpImage& image);
