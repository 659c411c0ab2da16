// The picture the enlarged view shows: 24-bit pixels (blue, green, red),
// bottom row first, each row padded to four bytes as a device-independent
// bitmap wants it. Loaded from a BMP file that Prism wrote into the
// temporary development file. Plain logic without system headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The largest picture Prism develops: one Digital Expand of 640 x 480.
constexpr int kMaxShownWidth = 1280;
constexpr int kMaxShownHeight = 960;

struct ShownPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // RowBytes() x height

    bool Empty() const { return pixels.empty(); }
    std::size_t RowBytes() const { return (std::size_t(width) * 3 + 3) & ~std::size_t(3); }
};

// Reads a BMP file: type "BM", an information header of at least 40 bytes,
// one plane, 24 bits, uncompressed, width 1..1280, bottom-up height 1..960,
// pixels at the stored offset (not inside the headers) and all of them
// inside the file. False, and `picture` untouched, for anything else: a
// missing or empty file included.
bool LoadShownPicture(const std::string& path, ShownPicture& picture);
