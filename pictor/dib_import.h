// Import of a packed DIB that a data source hands over in a memory block:
// uncompressed 1, 4, 8 and 24 bits per pixel are copied whole; 16 bits
// (bit-field masks, or 5-5-5 without) and 32 bits are converted to 24 bits,
// each colour field's highest bit becoming bit 7. The block's size is the
// capacity: a header that claims more (header size, colour-table count,
// image size, dimensions, row arithmetic) is refused, never read past.
// Rows stored top row first are turned to the usual bottom row first.
#pragma once

#include <cstdint>
#include <memory>

#include "packed_dib.h"

enum class DibImportResult {
    kOk,
    kHeaderBeyondBlock,    // fewer bytes than a 40-byte header, or a header size past the block
    kBadHeaderSize,        // a header size below 40
    kBadDimensions,        // width not positive, height zero
    kUnsupportedFormat,    // compression or depth not taken
    kBadColorTable,        // more colours than the depth holds
    kPixelsBeyondBlock,    // colour table, masks, image size or rows past the block
    kNoMemory,             // the picture cannot be allocated (or passes kMaxDibBytes)
};

struct DibImport {
    DibImportResult result = DibImportResult::kNoMemory;
    std::unique_ptr<CPackedDib> dib;  // set when result is kOk
};

DibImport ImportDib(const std::uint8_t* block, std::uint64_t capacity);
