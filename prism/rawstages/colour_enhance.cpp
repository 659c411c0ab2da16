// Empty slot: filled by the stage family's own work.
#include "colour_enhance.h"
#include "../stage_params.h"

void ColourEnhanceLinear(const CStageParams& params, std::uint8_t* rgb, int width, int height) { }
void ColourEnhanceSaturation(std::uint8_t* rgb, int width, int height, int saturationPercent) { }
