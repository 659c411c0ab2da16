// BMP writer: 14-byte file header, 40-byte information header, padded rows.
#include "bmp_writer.h"

#include <cstdio>

#include "file_util.h"

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace

bool WriteBmpFile(const char* path, const std::uint8_t* bgr, int width, int height) {
    const std::uint32_t rowBytes = std::uint32_t(width) * 3;
    const std::uint32_t storedRow = (rowBytes + 3) & ~3u;
    std::uint8_t header[54] = {'B', 'M'};
    Put32(header + 2, 54 + storedRow * std::uint32_t(height));
    Put32(header + 10, 54);
    Put32(header + 14, 40);
    Put32(header + 18, std::uint32_t(width));
    Put32(header + 22, std::uint32_t(height));
    Put16(header + 26, 1);
    Put16(header + 28, 24);

    OutputFile out(path);
    if (!out.Open()) return false;
    static const std::uint8_t kPad[3] = {};
    out.Write(header, sizeof header);
    for (int y = 0; y < height; ++y) {
        out.Write(bgr + std::size_t(y) * rowBytes, rowBytes);
        out.Write(kPad, storedRow - rowBytes);
    }
    return out.Commit();
}
