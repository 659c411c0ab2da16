// Packed DIBs built field by field for the import tests: any header field
// can be set to a lie, and the block is exactly as long as asked.
#pragma once

#include <cstdint>
#include <vector>

#include "packed_dib.h"

struct DibFields {
    std::uint32_t headerBytes = 40;
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t imageBytes = 0;
    std::int32_t ppm = 2835;
    std::uint32_t colorsUsed = 0;
};

// Header (headerBytes long), then `rest` (table, masks, pixels) as given.
inline std::vector<std::uint8_t> DibBlock(const DibFields& f, const std::vector<std::uint8_t>& rest) {
    std::vector<std::uint8_t> block(f.headerBytes >= 40 ? f.headerBytes : 40, 0);
    WriteLe32(&block[0], f.headerBytes);
    WriteLe32(&block[4], std::uint32_t(f.width));
    WriteLe32(&block[8], std::uint32_t(f.height));
    WriteLe16(&block[12], 1);
    WriteLe16(&block[14], f.bits);
    WriteLe32(&block[16], f.compression);
    WriteLe32(&block[20], f.imageBytes);
    WriteLe32(&block[24], std::uint32_t(f.ppm));
    WriteLe32(&block[28], std::uint32_t(f.ppm));
    WriteLe32(&block[32], f.colorsUsed);
    block.insert(block.end(), rest.begin(), rest.end());
    return block;
}
