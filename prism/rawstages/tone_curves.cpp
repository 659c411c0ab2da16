// Empty slot: filled by the stage family's own work.
#include "tone_curves.h"
#include "../stage_params.h"

void RawGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) { }
void SGammaAntiOver(const CStageParams& params, std::uint8_t* raw, int width, int height) { }
void RawShift(const CStageParams& params, std::uint8_t* raw, int width, int height) { }
void RawRgbGamma(const CStageParams& params, std::uint8_t* raw, int width, int height) { }
void RgbGamma(const CStageParams& params, std::uint8_t* rgb, int width, int height) { }
