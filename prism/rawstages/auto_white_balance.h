// Before-stage "1": white balance of the raw plane.
#pragma once

#include <cstdint>

class CStageParams;

void AutoWhiteBalance(const CStageParams& params, std::uint8_t* raw, int width, int height);
