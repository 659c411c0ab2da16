// Before- and after-stage sequencers, and the conventions the raw-plane and
// colour stages share: statistics demosaic, percentile searches, tone tables.
#pragma once

#include <cstdint>

class CStageParams;

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height);
int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height);

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height);
