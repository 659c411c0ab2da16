// Tone curves of the sequencers: before "3" to "6", after "3".
#pragma once

#include <cstdint>

#include "../tone_table.h"

class CStageParams;

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height);

// Gamma curve: entry i = i^exponent x 255^(1 - exponent). An exponent that is
// not above 0 (or not finite) gives the identity.
void BuildGammaTable(double exponent, ToneTable& table);

// S-gamma anti-over table for the frame's white level (0..255): an S-curve
// split at whiteLevel x leftPart combined with a gamma that spans
// 0 .. whiteLevel - 1; values at or above the white level pass unchanged.
// A split outside 0 .. whiteLevel is moved to the nearer end; a curve part
// that cannot be computed (one entry, exponent not above 0, overflow) is the
// identity there; entries are limited to 0..255.
void BuildSGammaTable(int whiteLevel, double gamma, double sCurve, double leftPart,
                      ToneTable& table);
