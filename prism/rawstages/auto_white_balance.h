// Before-stage "1": white balance of the raw plane.
#pragma once

#include <cstdint>

#include "../tone_table.h"
#include "deferred_plane.h"

class CStageParams;

void AutoWhiteBalance(const CStageParams& params, std::uint8_t* raw, int width, int height);
// The same, its tables left pending in the plane.
void AutoWhiteBalance(const CStageParams& params, DeferredPlane& plane);

// The white balance's stretch: 0 .. whitePoint maps linearly onto about
// 0 .. target, and the values above whitePoint are squeezed into target .. 255.
// Entries are limited to 255 and hold bytes; any whitePoint and target give a
// full table.
// Shared with the white balance of the RGB plane.
void BuildWhitePointTable(int whitePoint, int target, ToneTable& table);
