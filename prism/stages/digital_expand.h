// Letter N: bilinear doubling of the RGB plane. The caller doubles the
// working width and height afterwards.
#pragma once

#include <cstdint>

void DigitalExpand(std::uint8_t* rgb, int width, int height);
