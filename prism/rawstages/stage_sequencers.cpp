// Empty slot: filled by the stage family's own work.
#include "stage_sequencers.h"
#include "../stage_params.h"

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height) { return 1; }
int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height) { return 1; }
void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height) { }
