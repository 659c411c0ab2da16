// BMP reader. Every size read from the file is checked in 64-bit arithmetic
// against the file's own length before it is used.
//
// Layout: a 14-byte file header, an information header whose first four
// bytes give its size (40 bytes, or the 52, 56, 108 and 124 bytes of the
// later versions, which only append fields), the palette right after the
// information header, and the pixel rows at the pixel-data offset.
#include "bmp_reader.h"

#include <cstdio>

namespace {

constexpr std::int64_t kMaxFileBytes = std::int64_t(1) << 30;
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;  // far above any camera picture
constexpr std::int64_t kFileHeaderBytes = 14;

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Get16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// The information-header sizes whose first 40 bytes have the common layout.
// Older (12-byte) and OS/2 (64-byte) headers place the fields elsewhere.
bool KnownInfoHeader(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool ReadWholeFile(const char* path, std::vector<std::uint8_t>& data) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        data.resize(std::size_t(size));
        ok = std::fread(data.data(), 1, data.size(), f) == data.size();
    }
    std::fclose(f);
    return ok;
}

}  // namespace

bool ReadBmpFile(const char* path, BmpImage& image) {
    std::vector<std::uint8_t> file;
    if (!ReadWholeFile(path, file) || file.size() < kFileHeaderBytes + 40 || file[0] != 'B' ||
        file[1] != 'M')
        return false;
    const std::uint8_t* d = file.data();
    const std::int64_t fileBytes = std::int64_t(file.size());
    const std::uint32_t infoBytes = Get32(d + 14);
    if (!KnownInfoHeader(infoBytes) || kFileHeaderBytes + infoBytes > fileBytes) return false;
    const std::int64_t dataOffset = Get32(d + 10);
    const std::int64_t width = std::int32_t(Get32(d + 18));
    const std::int64_t rawHeight = std::int32_t(Get32(d + 22));
    const int planes = Get16(d + 26);
    const int bits = Get16(d + 28);
    const std::uint32_t compression = Get32(d + 30);
    const std::int64_t coloursUsed = Get32(d + 46);
    if (planes != 1 || compression != 0) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) return false;

    // A true-colour file may carry a colour table as a hint; it is not read.
    const std::int64_t paletteEntries = bits == 24 ? 0 : (coloursUsed ? coloursUsed : (1 << bits));
    if (bits != 24 && paletteEntries > (1 << bits)) return false;
    const std::int64_t paletteOffset = kFileHeaderBytes + infoBytes;
    if (paletteOffset + 4 * paletteEntries > dataOffset) return false;
    const std::int64_t storedRow = (width * bits + 31) / 32 * 4;
    if (dataOffset + storedRow * height > fileBytes) return false;

    const std::uint8_t* palette = d + paletteOffset;
    std::vector<std::uint8_t> rgb(std::size_t(width * height * 3));
    for (std::int64_t r = 0; r < height; ++r) {
        const std::uint8_t* src = d + dataOffset + r * storedRow;
        const std::int64_t y = topDown ? r : height - 1 - r;
        std::uint8_t* dst = rgb.data() + y * width * 3;
        for (std::int64_t x = 0; x < width; ++x, dst += 3) {
            if (bits == 24) {
                dst[0] = src[3 * x + 2];
                dst[1] = src[3 * x + 1];
                dst[2] = src[3 * x];
                continue;
            }
            const std::int64_t bit = x * bits;
            const int shift = 8 - bits - int(bit % 8);
            const int index = (src[bit / 8] >> shift) & ((1 << bits) - 1);
            // An index past a short palette has no colour: the picture cannot be
            // shown as its maker meant it.
            if (index >= paletteEntries) return false;
            const std::uint8_t* entry = palette + 4 * index;
            dst[0] = entry[2];
            dst[1] = entry[1];
            dst[2] = entry[0];
        }
    }
    image.rgb.swap(rgb);
    image.width = int(width);
    image.height = int(height);
    return true;
}
