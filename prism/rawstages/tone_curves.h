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

// Gamma curve: entry i = i^exponent x 255^(1 - exponent), the factor computed
// once. An exponent that is not above 0 (or not finite) gives the identity.
// Shared with the letter stages' gamma.
void BuildGammaTable(double exponent, ToneTable& table);

// S-gamma anti-over table for the frame's white level (0..255): an S-curve
// split at whiteLevel x leftPart combined with a gamma that spans
// 0 .. whiteLevel - 1; values at or above the white level pass unchanged.
// Settings outside their ranges still give a table: a split outside
// 0 .. whiteLevel moves to the nearer end, a curve part of one entry or with
// an exponent not above 0 stays straight, and entries are limited to 0..255.
void BuildSGammaTable(int whiteLevel, double gamma, double sCurve, double leftPart,
                      ToneTable& table);
