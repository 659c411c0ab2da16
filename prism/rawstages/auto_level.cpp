// Empty slot: filled by the stage family's own work.
#include "auto_level.h"
#include "../stage_params.h"

void AutoLevel(const CStageParams& params, std::uint8_t* raw, int width, int height) { }
