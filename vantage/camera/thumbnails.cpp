// Thumbnail sampling of both frame geometries.
#include "thumbnails.h"

#include <cstring>

namespace {

constexpr int kStep = 5;  // 640 / 128
constexpr int kWhite = 255;

void Sample(const std::uint8_t* picture, int width, int columns, int rows, std::uint8_t* out, int outLeft,
            int outTop) {
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* row = picture + std::size_t(y) * kStep * width * 3;
        std::uint8_t* dst = out + (std::size_t(outTop + y) * kThumbnailWidth + outLeft) * 3;
        for (int x = 0; x < columns; ++x) std::memcpy(dst + x * 3, row + std::size_t(x) * kStep * 3, 3);
    }
}

}  // namespace

bool SampleThumbnail(const std::uint8_t* picture, int width, int height, std::uint8_t* thumbnail) {
    if (width == 640 && height == 480) {
        Sample(picture, width, kThumbnailWidth, kThumbnailHeight, thumbnail, 0, 0);
        return true;
    }
    if (width == 320 && height == 240) {
        std::memset(thumbnail, kWhite, kThumbnailBytes);
        Sample(picture, width, width / kStep, height / kStep, thumbnail, (kThumbnailWidth - width / kStep) / 2,
               (kThumbnailHeight - height / kStep) / 2);
        return true;
    }
    return false;
}
