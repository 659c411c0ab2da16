// The enlarged view's picture: the BMP file checked field by field before
// any size read from it is used.
#include "camera/shown_picture.h"

#include <cstdio>

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kMinInfoBytes = 40;
constexpr std::size_t kHeaderBytes = kFileHeaderBytes + kMinInfoBytes;
constexpr std::uint32_t kNoCompression = 0;

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

}  // namespace

bool LoadShownPicture(const std::string& path, ShownPicture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::uint8_t header[kHeaderBytes];
    bool ok = std::fread(header, 1, kHeaderBytes, file) == kHeaderBytes && header[0] == 'B' && header[1] == 'M';
    const std::uint32_t offset = Le32(header + 10);
    const std::uint32_t infoBytes = Le32(header + 14);
    const std::int32_t width = std::int32_t(Le32(header + 18));
    const std::int32_t height = std::int32_t(Le32(header + 22));
    ok = ok && infoBytes >= kMinInfoBytes && Le16(header + 26) == 1 && Le16(header + 28) == 24 &&
         Le32(header + 30) == kNoCompression && width >= 1 && width <= kMaxShownWidth && height >= 1 &&
         height <= kMaxShownHeight && std::uint64_t(offset) >= kFileHeaderBytes + std::uint64_t(infoBytes);
    ShownPicture loaded;
    if (ok) {
        loaded.width = width;
        loaded.height = height;
        loaded.pixels.resize(loaded.RowBytes() * std::size_t(height));
        ok = std::fseek(file, long(offset), SEEK_SET) == 0 &&
             std::fread(loaded.pixels.data(), 1, loaded.pixels.size(), file) == loaded.pixels.size();
    }
    std::fclose(file);
    if (ok) picture = std::move(loaded);
    return ok;
}
