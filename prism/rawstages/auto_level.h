// Before-stage "2": level stretch of the raw plane.
#pragma once

#include <cstdint>

class CStageParams;

void AutoLevel(const CStageParams& params, std::uint8_t* raw, int width, int height);
