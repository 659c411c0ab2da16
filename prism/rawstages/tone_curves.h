// Tone curves of the sequencers: before "3" to "6", after "3".
#pragma once

#include <cstdint>

class CStageParams;

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height);
void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height);
