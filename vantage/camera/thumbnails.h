// Thumbnails: 128 x 96 pixels, 24 bits (blue, green, red), rows bottom-up,
// sampled from a developed picture whose pixels are stored the same way (a
// BMP's pixel block). A 640 x 480 picture gives every 5th pixel of every 5th
// row; a 320 x 240 picture gives a 64 x 48 block the same way, centred on
// white. Plain logic.
#pragma once

#include <cstdint>

constexpr int kThumbnailWidth = 128;
constexpr int kThumbnailHeight = 96;
constexpr int kThumbnailBytes = kThumbnailWidth * kThumbnailHeight * 3;  // 36,864

// `thumbnail` has kThumbnailBytes. False (thumbnail untouched) for a
// geometry other than 640 x 480 and 320 x 240.
bool SampleThumbnail(const std::uint8_t* picture, int width, int height, std::uint8_t* thumbnail);
