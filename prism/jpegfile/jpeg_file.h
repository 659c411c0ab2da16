// JPEG file writer: an RGB buffer (red, green, blue, or blue, green, red;
// top row first; no row padding) in, a baseline JPEG file out. Linked by
// Prism and by Pictor.
#pragma once

#include <cstdint>

// The largest width or height a JPEG file holds (libjpeg refuses more).
constexpr int kJpegMaxSide = 65500;

// 1 when the file was written completely, 0 otherwise (a null buffer, a zero
// size, a file that cannot be created, or a compression error; a file that
// was started is removed). quality is limited to 1..100.
// A buffer in blue, green, red order gives the file of the same buffer with
// red and blue exchanged; the library reads that order itself where it can.
enum class PixelOrder { kRgb, kBgr };
int WriteJpegFile(const char* path, const std::uint8_t* rgb, int width, int height, int quality,
                  PixelOrder order = PixelOrder::kRgb);
