// Before- and after-stage sequencers: the before string runs raw-plane
// stages, the after string colour stages.
#pragma once

#include <cstdint>

class CStageParams;

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height);
int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height);
