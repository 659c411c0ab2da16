// Generated pictures and the check of a DIB before it is described.
#include "dib_images.h"

#include <cstring>

namespace sim_source {

HGLOBAL MakeGeneratedDib(int index, int width, int height, int bits) {
    const std::uint64_t stride = DibStride(std::uint64_t(width), std::uint64_t(bits));
    const std::uint64_t bytes = sizeof(BITMAPINFOHEADER) + stride * std::uint64_t(height);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(bytes));
    if (!block) return nullptr;
    auto* base = static_cast<std::uint8_t*>(GlobalLock(block));
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = WORD(bits);
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(stride * std::uint64_t(height));
    header.biXPelsPerMeter = header.biYPelsPerMeter = 2835;  // 72 dots per inch
    std::memcpy(base, &header, sizeof header);
    const int pixelBytes = bits / 8;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = base + sizeof header + stride * std::uint64_t(height - 1 - y);  // bottom-up
        for (int x = 0; x < width; ++x) {
            const Bgr p = GeneratedPixel(index, x, y);
            row[x * pixelBytes] = p.blue;
            row[x * pixelBytes + 1] = p.green;
            row[x * pixelBytes + 2] = p.red;
        }
    }
    GlobalUnlock(block);
    return block;
}

DibShape DescribeDib(HGLOBAL dib) {
    DibShape shape;
    const std::uint64_t size = dib ? GlobalSize(dib) : 0;
    if (size < sizeof(BITMAPINFOHEADER)) return shape;
    const void* base = GlobalLock(dib);
    if (!base) return shape;
    BITMAPINFOHEADER header;
    std::memcpy(&header, base, sizeof header);
    GlobalUnlock(dib);
    const std::int64_t height = header.biHeight < 0 ? -std::int64_t(header.biHeight) : header.biHeight;
    if (header.biSize != sizeof header || header.biPlanes != 1 || header.biCompression != BI_RGB ||
        (header.biBitCount != 24 && header.biBitCount != 32) || header.biClrUsed != 0 || header.biWidth <= 0 ||
        height <= 0 || header.biWidth > 65535 || height > 65535)
        return shape;
    const std::uint64_t needed =
        sizeof header + DibStride(std::uint64_t(header.biWidth), header.biBitCount) * std::uint64_t(height);
    if (needed > size) return shape;
    shape = {true, int(header.biWidth), int(height), int(header.biBitCount)};
    return shape;
}

}  // namespace sim_source
