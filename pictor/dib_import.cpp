// DIB import: header checks against the block's capacity in 64-bit
// arithmetic, then either a whole copy or a conversion to 24 bits.
#include "dib_import.h"

#include <cstring>

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint64_t kMaskBytes = 12;

struct Masks {
    std::uint32_t red, green, blue;
};

// The field of `mask` moved so that its highest bit lands on bit 7.
std::uint8_t Field(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int top = 31;
    while (!(mask & (1u << top))) --top;
    const std::uint32_t value = pixel & mask;
    return std::uint8_t(top >= 7 ? value >> (top - 7) : value << (7 - top));
}

bool CopiedWhole(std::uint32_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

}  // namespace

DibImport ImportDib(const std::uint8_t* block, std::uint64_t capacity) {
    DibImport out;
    if (!block || capacity < kDibHeaderBytes) {
        out.result = DibImportResult::kHeaderBeyondBlock;
        return out;
    }
    const std::uint64_t headerBytes = ReadLe32(block);
    const std::int64_t width = std::int32_t(ReadLe32(block + 4));
    const std::int64_t signedHeight = std::int32_t(ReadLe32(block + 8));
    const std::uint32_t bits = ReadLe16(block + 14);
    const std::uint32_t compression = ReadLe32(block + 16);
    const std::uint64_t imageBytes = ReadLe32(block + 20);
    const std::int32_t ppmX = std::int32_t(ReadLe32(block + 24));
    const std::int32_t ppmY = std::int32_t(ReadLe32(block + 28));
    const std::uint64_t colorsUsed = ReadLe32(block + 32);
    if (headerBytes < kDibHeaderBytes) {
        out.result = DibImportResult::kBadHeaderSize;
        return out;
    }
    if (headerBytes > capacity) {
        out.result = DibImportResult::kHeaderBeyondBlock;
        return out;
    }
    if (width <= 0 || signedHeight == 0) {
        out.result = DibImportResult::kBadDimensions;
        return out;
    }
    const bool topDown = signedHeight < 0;
    const std::int64_t height = topDown ? -signedHeight : signedHeight;

    const bool converted = bits == 16 || bits == 32;
    if (!(CopiedWhole(bits) && compression == kBiRgb) &&
        !(converted && (compression == kBiRgb || compression == kBiBitFields))) {
        out.result = DibImportResult::kUnsupportedFormat;
        return out;
    }
    // Where the colour table (or masks) and the pixels lie in the block.
    std::uint64_t tableEntries = colorsUsed;
    if (bits <= 8) {
        const std::uint64_t full = std::uint64_t(1) << bits;
        if (tableEntries > full) {
            out.result = DibImportResult::kBadColorTable;
            return out;
        }
        if (tableEntries == 0) tableEntries = full;
    }
    std::uint64_t tableStart = headerBytes;
    if (compression == kBiBitFields && headerBytes < kDibHeaderBytes + kMaskBytes)
        tableStart = kDibHeaderBytes + kMaskBytes;  // the masks follow a 40-byte header
    const std::uint64_t bitsStart = tableStart + tableEntries * 4;
    const std::uint64_t sourceRow = DibRowBytes(std::uint64_t(width), bits);
    // A row is at most 2^34 bytes and there are at most 2^31 rows: divide, never multiply.
    if (bitsStart > capacity || std::uint64_t(height) > (capacity - bitsStart) / sourceRow ||
        (imageBytes != 0 && imageBytes > capacity - bitsStart)) {
        out.result = DibImportResult::kPixelsBeyondBlock;
        return out;
    }

    std::unique_ptr<CPackedDib> dib = CPackedDib::Create(std::int32_t(width), std::int32_t(height), bits);
    if (!dib) {
        out.result = DibImportResult::kNoMemory;
        return out;
    }
    dib->SetResolution(DotsPerInch(ppmX), DotsPerInch(ppmY));
    const std::uint64_t targetRow = dib->RowBytes();
    auto sourceRowAt = [&](std::int64_t storedRow) {
        // Stored rows in the document go bottom row first.
        const std::int64_t r = topDown ? height - 1 - storedRow : storedRow;
        return block + bitsStart + std::uint64_t(r) * sourceRow;
    };

    if (CopiedWhole(bits)) {
        // The incoming header stays, resolution fields included; only what
        // describes the stored layout is made true of it.
        std::memcpy(dib->Data(), block, kDibHeaderBytes);
        WriteLe32(dib->Data(), kDibHeaderBytes);
        WriteLe32(dib->Data() + 8, std::uint32_t(height));
        WriteLe32(dib->Data() + 20, std::uint32_t(targetRow * std::uint64_t(height)));
        WriteLe32(dib->Data() + 32, 0);  // the stored table is always full
        if (bits <= 8) std::memcpy(dib->ColorTable(), block + tableStart, std::size_t(tableEntries * 4));
        for (std::int64_t y = 0; y < height; ++y)
            std::memcpy(dib->Bits() + std::uint64_t(y) * targetRow, sourceRowAt(y), std::size_t(sourceRow));
    } else {
        Masks masks = bits == 16 ? Masks{0x7C00, 0x03E0, 0x001F} : Masks{0xFF0000, 0xFF00, 0xFF};
        if (compression == kBiBitFields)
            masks = {ReadLe32(block + kDibHeaderBytes), ReadLe32(block + kDibHeaderBytes + 4),
                     ReadLe32(block + kDibHeaderBytes + 8)};
        const std::uint32_t bytesPerPixel = bits / 8;
        for (std::int64_t y = height - 1; y >= 0; --y) {
            const std::uint8_t* src = sourceRowAt(y);
            std::uint8_t* dst = dib->Bits() + std::uint64_t(y) * targetRow;
            for (std::int64_t x = 0; x < width; ++x, src += bytesPerPixel, dst += 3) {
                const std::uint32_t pixel = bytesPerPixel == 2 ? ReadLe16(src) : ReadLe32(src);
                dst[0] = Field(pixel, masks.blue);
                dst[1] = Field(pixel, masks.green);
                dst[2] = Field(pixel, masks.red);
            }
        }
    }
    out.result = DibImportResult::kOk;
    out.dib = std::move(dib);
    return out;
}
