// Before-stage "2": level stretch of the raw plane.
#pragma once

#include <cstdint>

#include "../tone_table.h"
#include "deferred_plane.h"

class CStageParams;

void AutoLevel(const CStageParams& params, std::uint8_t* raw, int width, int height);
// The same, its table left pending in the plane.
void AutoLevel(const CStageParams& params, DeferredPlane& plane);

// The level table: black .. white maps linearly onto 0 .. level and the values
// above white onto level .. 255, rounded as tone tables are and limited to
// 0..255. With white <= black there is no range to stretch: the identity.
void BuildAutoLevelTable(int black, int white, int level, ToneTable& table);
