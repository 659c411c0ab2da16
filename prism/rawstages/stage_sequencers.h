// Before- and after-stage sequencers, and the conventions the raw-plane and
// colour stages share: statistics demosaic, site tables, tone-table entries.
#pragma once

#include <cstdint>

#include "../tone_table.h"
#include "statistics.h"

class CStageParams;

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height);
int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height);

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height);

// Runs the statistics demosaic into the scratch RGB buffer and gathers the
// histograms of its pixels that pass the over-exposure rule with overflow.
// Returns the number of pixels counted, or -1 (nothing gathered) for a plane
// that is empty or larger than the scratch buffer.
int MeasureStatisticsImage(const std::uint8_t* raw, int width, int height, int overflow,
                           ColourHistograms& histograms);

// Replaces every raw sample by the entry of its site's table (low byte);
// both kinds of green site go through the green table.
void ApplySiteTables(std::uint8_t* raw, int width, int height, const ToneTable& red,
                     const ToneTable& green, const ToneTable& blue);

// A double truncated toward zero; NaN gives 0 and magnitudes beyond 2^30 are
// limited, so that settings outside their ranges cannot overflow later sums.
int TruncateToInt(double value);
