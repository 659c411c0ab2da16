// BMP files built field by field, for the reader's tests and the fuzzers'
// seed corpus: any field may hold a value that a well-formed file would not.
#pragma once

#include <cstdint>
#include <vector>

struct BmpFields {
    std::uint32_t infoBytes = 40;  // the size field; 40 to 124 bytes are written
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::int64_t coloursUsed = -1;  // -1: the palette's entry count
    std::int64_t dataOffset = -1;   // -1: just after the palette
    std::vector<std::uint8_t> palette;  // blue, green, red, reserved per entry
    std::vector<std::uint8_t> pixels;   // the stored rows, as given
};

inline void PutLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

inline std::vector<std::uint8_t> BuildBmp(const BmpFields& f) {
    const std::size_t written = f.infoBytes < 40 ? 40 : f.infoBytes > 124 ? 124 : f.infoBytes;
    const std::size_t headers = 14 + written;
    std::vector<std::uint8_t> b(headers, 0);
    b[0] = 'B';
    b[1] = 'M';
    const std::size_t offset = f.dataOffset >= 0 ? std::size_t(f.dataOffset) : headers + f.palette.size();
    PutLe32(b, 2, std::uint32_t(headers + f.palette.size() + f.pixels.size()));
    PutLe32(b, 10, std::uint32_t(offset));
    PutLe32(b, 14, f.infoBytes);
    PutLe32(b, 18, std::uint32_t(f.width));
    PutLe32(b, 22, std::uint32_t(f.height));
    b[26] = std::uint8_t(f.planes);
    b[27] = std::uint8_t(f.planes >> 8);
    b[28] = std::uint8_t(f.bits);
    b[29] = std::uint8_t(f.bits >> 8);
    PutLe32(b, 30, f.compression);
    PutLe32(b, 46, std::uint32_t(f.coloursUsed >= 0 ? f.coloursUsed : std::int64_t(f.palette.size() / 4)));
    b.insert(b.end(), f.palette.begin(), f.palette.end());
    b.insert(b.end(), f.pixels.begin(), f.pixels.end());
    return b;
}
