// 24-bit BMP writer: rows written in memory order (the caller puts the
// picture's bottom row first), blue-green-red pixels, each row padded with
// zero bytes to a multiple of 4.
#pragma once

#include <cstdint>

// True when the whole file was written; a file that could not be completed is removed.
bool WriteBmpFile(const char* path, const std::uint8_t* bgr, int width, int height);
