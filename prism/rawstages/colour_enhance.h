// Colour enhance: after "1" (linear then saturation) and letter I (saturation).
#pragma once

#include <cstdint>

class CStageParams;

void ColourEnhanceLinear(const CStageParams& params, std::uint8_t* rgb, int width, int height);
void ColourEnhanceSaturation(std::uint8_t* rgb, int width, int height, int saturationPercent);
