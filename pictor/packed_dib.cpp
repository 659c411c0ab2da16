// Packed DIB: layout, the depth classes, resolution rounding, the BMP file
// header and the rows the JPEG writer takes.
#include "packed_dib.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <new>

std::uint32_t ReadLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t ReadLe16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

void WriteLe32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(value >> (8 * i));
}

void WriteLe16(std::uint8_t* p, std::uint16_t value) {
    p[0] = std::uint8_t(value);
    p[1] = std::uint8_t(value >> 8);
}

std::uint64_t DibRowBytes(std::uint64_t width, std::uint32_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

std::int32_t PixelsPerMetre(int dotsPerInch) {
    // A resolution read from a header can be anything: the field's range holds.
    const double ppm = std::floor(dotsPerInch * 39.37007874015748 + 0.5);
    if (ppm <= double(INT32_MIN)) return INT32_MIN;
    if (ppm >= double(INT32_MAX)) return INT32_MAX;
    return std::int32_t(ppm);
}

int DotsPerInch(std::int32_t pixelsPerMetre) { return int(std::floor(pixelsPerMetre * 0.0254 + 0.5)); }

std::uint32_t DepthClass(std::uint32_t bitsPerPixel) {
    if (bitsPerPixel <= 1) return 1;
    if (bitsPerPixel <= 4) return 4;
    if (bitsPerPixel <= 8) return 8;
    return 24;
}

std::uint32_t CPackedDib::ColorTableEntries() const {
    const std::uint32_t bits = BitsPerPixel();
    return bits <= 8 ? 1u << bits : 0;
}

std::unique_ptr<CPackedDib> CPackedDib::Create(std::int32_t width, std::int32_t height, std::uint32_t bitsPerPixel) {
    if (width <= 0 || height <= 0) return nullptr;
    const std::uint32_t depth = DepthClass(bitsPerPixel);
    const std::uint64_t table = depth <= 8 ? (std::uint64_t(1) << depth) * 4 : 0;
    const std::uint64_t total = kDibHeaderBytes + table + DibRowBytes(std::uint64_t(width), depth) * std::uint64_t(height);
    if (total > kMaxDibBytes) return nullptr;
    std::unique_ptr<CPackedDib> dib(new (std::nothrow) CPackedDib);
    if (!dib) return nullptr;
    try {
        // The pixel bits are left as allocated by the document's contract;
        // a vector clears them, which costs little at these sizes.
        dib->bytes_.resize(std::size_t(total));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::uint8_t* h = dib->bytes_.data();
    WriteLe32(h, kDibHeaderBytes);
    WriteLe32(h + 4, std::uint32_t(width));
    WriteLe32(h + 8, std::uint32_t(height));
    WriteLe16(h + 12, 1);
    WriteLe16(h + 14, std::uint16_t(depth));
    dib->SetResolution(kDefaultDpi, kDefaultDpi);
    return dib;
}

void CPackedDib::SetResolution(int dpiX, int dpiY) {
    WriteLe32(&bytes_[24], std::uint32_t(PixelsPerMetre(dpiX)));
    WriteLe32(&bytes_[28], std::uint32_t(PixelsPerMetre(dpiY)));
}

std::vector<std::uint8_t> BmpFileHeader(const CPackedDib& dib) {
    std::vector<std::uint8_t> header(kBmpFileHeaderBytes, 0);
    header[0] = 'B';
    header[1] = 'M';
    WriteLe32(&header[2], std::uint32_t(dib.Size() + kBmpFileHeaderBytes));
    WriteLe32(&header[10], kBmpFileHeaderBytes + dib.BitsOffset());
    return header;
}

std::vector<std::uint8_t> DibToRgbRows(const CPackedDib& dib) {
    const std::size_t width = std::size_t(dib.Width());
    const std::size_t height = std::size_t(dib.Height());
    const std::uint32_t bits = dib.BitsPerPixel();
    std::vector<std::uint8_t> rgb;
    try {
        rgb.resize(width * height * 3);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const std::uint8_t* table = dib.Data() + kDibHeaderBytes;
    for (std::size_t y = 0; y < height; ++y) {
        // Stored bottom row first: output row y is stored row height - 1 - y.
        const std::uint8_t* src = dib.Bits() + (height - 1 - y) * dib.RowBytes();
        std::uint8_t* out = &rgb[y * width * 3];
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            if (bits == 24) {
                out[0] = src[x * 3 + 2];
                out[1] = src[x * 3 + 1];
                out[2] = src[x * 3];
                continue;
            }
            const std::size_t bitPos = x * bits;
            const unsigned shift = unsigned(8 - bits - bitPos % 8);
            const unsigned index = (src[bitPos / 8] >> shift) & ((1u << bits) - 1);
            const std::uint8_t* entry = table + index * 4;
            out[0] = entry[2];
            out[1] = entry[1];
            out[2] = entry[0];
        }
    }
    return rgb;
}
