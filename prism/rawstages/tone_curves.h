// Tone curves of the sequencers: before "3" to "6", after "3".
#pragma once

#include <cstdint>

#include "../tone_table.h"
#include "deferred_plane.h"

class CStageParams;

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
// The same four, their tables left pending in the plane.
void RawGamma(const CStageParams& params, DeferredPlane& plane);
void SGammaAntiOver(const CStageParams& params, DeferredPlane& plane);
void RawShift(const CStageParams& params, DeferredPlane& plane);
void RawRgbGamma(const CStageParams& params, DeferredPlane& plane);
void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height);

// S-gamma anti-over table for the frame's white level (0..255): the S-gamma
// of the shared curve maths over entries 0 .. whiteLevel - 1, with the split
// at whiteLevel x leftPart; values at or above the white level pass
// unchanged.
void BuildAntiOverTable(int whiteLevel, double gamma, double sCurve, double leftPart,
                        ToneTable& table);
