// A packed device-independent bitmap as Pictor's documents hold it: the
// 40-byte information header, a colour table of 2, 16 or 256 entries for
// 1, 4 or 8 bits per pixel (none for 24), then the rows, bottom row first,
// each padded to a multiple of 4 bytes. Plain bytes, little-endian fields;
// no <windows.h>, so the rules are unit-tested natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

constexpr std::uint32_t kDibHeaderBytes = 40;
constexpr std::uint32_t kBmpFileHeaderBytes = 14;
// No picture a document takes is larger: far beyond a camera's, and still
// allocatable in a 32-bit process.
constexpr std::uint64_t kMaxDibBytes = 256u << 20;
constexpr int kDefaultDpi = 72;

// Little-endian field access shared by the DIB units.
std::uint32_t ReadLe32(const std::uint8_t* p);
std::uint16_t ReadLe16(const std::uint8_t* p);
void WriteLe32(std::uint8_t* p, std::uint32_t value);
void WriteLe16(std::uint8_t* p, std::uint16_t value);

// Bytes of one stored row: (width x bits + 31) / 32 x 4, in 64 bits.
std::uint64_t DibRowBytes(std::uint64_t width, std::uint32_t bitsPerPixel);
// pixels per metre = floor(dpi x 39.37007874015748 + 0.5): 72 gives 2835;
// limited to the 32-bit field.
std::int32_t PixelsPerMetre(int dotsPerInch);
// dots per inch = floor(ppm x 0.0254 + 0.5): 2835 gives 72.
int DotsPerInch(std::int32_t pixelsPerMetre);
// The depth class a requested depth falls into: 1, 4, 8 or 24.
std::uint32_t DepthClass(std::uint32_t bitsPerPixel);

class CPackedDib {
public:
    // An empty DIB of the depth class of `bitsPerPixel`, its colour table
    // cleared, its resolution fields from 72 dpi; null when a side is not
    // positive, the size passes kMaxDibBytes or memory is short.
    static std::unique_ptr<CPackedDib> Create(std::int32_t width, std::int32_t height, std::uint32_t bitsPerPixel);

    std::int32_t Width() const { return std::int32_t(ReadLe32(&bytes_[4])); }
    std::int32_t Height() const { return std::int32_t(ReadLe32(&bytes_[8])); }
    std::uint32_t BitsPerPixel() const { return ReadLe16(&bytes_[14]); }
    std::uint32_t ColorTableEntries() const;
    std::uint64_t RowBytes() const { return DibRowBytes(std::uint64_t(Width()), BitsPerPixel()); }
    std::uint32_t BitsOffset() const { return kDibHeaderBytes + ColorTableEntries() * 4; }

    // Sets the header's resolution fields from dots per inch.
    void SetResolution(int dpiX, int dpiY);

    std::uint8_t* Data() { return bytes_.data(); }
    const std::uint8_t* Data() const { return bytes_.data(); }
    std::size_t Size() const { return bytes_.size(); }
    std::uint8_t* Bits() { return bytes_.data() + BitsOffset(); }
    const std::uint8_t* Bits() const { return bytes_.data() + BitsOffset(); }
    std::uint8_t* ColorTable() { return bytes_.data() + kDibHeaderBytes; }

private:
    CPackedDib() = default;
    std::vector<std::uint8_t> bytes_;
};

// The 14-byte BMP file header that goes before the whole packed DIB: "BM",
// file size = DIB size + 14, reserved zeros, pixel offset = 14 + 40 + table.
std::vector<std::uint8_t> BmpFileHeader(const CPackedDib& dib);

// The picture as the JPEG file writer takes it: width x height pixels of
// red, green, blue, top row first. Indexed depths go through the colour
// table. Empty when memory is short.
std::vector<std::uint8_t> DibToRgbRows(const CPackedDib& dib);
