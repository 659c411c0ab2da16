// Letter K: white balance of the RGB plane.
#pragma once

#include <cstdint>

class CLetterParams;

void RgbAutoWhiteBalance(const CLetterParams& params, std::uint8_t* rgb, int width, int height);
