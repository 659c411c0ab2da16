// Raw-plane auto level (before "2"). One table for all sites: a black point at
// a low percentile of the raw samples goes to 0, a white point at a high
// percentile goes to the overflow level, and the values above it are spread
// over the rest. Samples of pixels that look over-exposed in two or three
// colours (the sample and its two estimates from the confined neighbours)
// stay out of the histogram. Reads `AL_Overflow`, `AL_Noise`, `AL_Percent_L`,
// `AL_Limit_L`, `AL_Percent_R`, `AL_Limit_R`; writes the raw plane in place.
#include "auto_level.h"

#include <algorithm>
#include <cstddef>

#include "../planes.h"
#include "../platform/platform.h"
#include "../stage_params.h"
#include "statistics.h"

namespace {

// The pixel total always starts from the raw plane's capacity, whatever the
// frame's own size; smaller frames thus get proportionally larger targets.
constexpr int kPixelTotal = kMaxRawPixels;

// Search of this stage: the bin is added before the test, and the search
// walks from first down or up to last. -1 when the target is never reached.
int SearchLevel(const Histogram& histogram, int first, int last, int target, int noise) {
    const int step = first <= last ? 1 : -1;
    int sum = 0;
    for (int i = first;; i += step) {
        // Values beyond 255 cannot occur in the plane: their bins are empty.
        const int bin = (i >= 0 && i < kHistogramBins) ? histogram[i] : 0;
        if (bin > noise) sum += bin;
        if (sum >= target) return i;
        if (i == last) return -1;
    }
}

// Largest target of the searches that run, or -1 when a target is not
// bounded by the pixel total (percents outside 0..1000, a white-point search
// that starts outside 1..255).
int LargestTarget(const CStageParams& params, int threshold) {
    const int percents[2] = {params.AL_Percent_L, params.AL_Percent_R};
    if (params.AL_Percent_R != 0 && (threshold < 1 || threshold > 255)) return -1;
    int largest = 0;
    for (int percent : percents) {
        if (percent < 0 || percent > 1000) return -1;
        largest = std::max(largest, platform::MulDiv(kPixelTotal, percent, 1000));
    }
    return largest;
}

// The samples of the pixels that pass the over-exposure rule at threshold,
// all site classes in one histogram (the searches only read their sum);
// returns how many pixels passed. Where the searches' targets are bounded,
// only the bins they read are counted (TailHistogram); otherwise all, spread
// over several sets (see kHistogramSets).
long long LevelHistogram(const CStageParams& params, DeferredPlane& plane, int threshold,
                         Histogram& histogram) {
    const int width = plane.Width();
    long long counted = 0;
    const int largestTarget = LargestTarget(params, threshold);
    if (largestTarget >= 0) {
        TailHistogram tails(largestTarget, params.AL_Noise, std::min(threshold, 255));
        SampleRange quiet = kNoSamples;
        ForEachStatisticsRun(
            plane, threshold, quiet,
            [&](int y, int x0, int count, const StatisticsRun& run, int inRun) {
                counted += inRun;
                tails.Count(plane.Raw() + std::size_t(y) * width + x0, run, count);
            },
            [&] {
                tails.RowCounted();
                quiet = {0, kHistogramBins - 1};
                tails.KeepBetweenTails(quiet);
            });
        std::copy(std::begin(tails.Bins()), std::end(tails.Bins()), histogram);
        return counted;
    }
    Histogram sets[kHistogramSets] = {};
    ForEachStatisticsRun(
        plane, threshold, [&](int y, int x0, int count, const StatisticsRun& run, int inRun) {
            const std::uint8_t* own = plane.Raw() + std::size_t(y) * width + x0;
            counted += inRun;
            CountRun(run, count, inRun, [&](int k, int i, int weight) { sets[k][own[i]] += weight; });
        });
    std::fill(std::begin(histogram), std::end(histogram), 0);
    for (const Histogram& set : sets)
        for (int v = 0; v < kHistogramBins; ++v) histogram[v] += set[v];
    return counted;
}

}  // namespace

void BuildAutoLevelTable(int black, int white, int level, ToneTable& table) {
    for (int i = 0; i < 256; ++i) {
        if (white <= black) {
            table[i] = i;
            continue;
        }
        const double l = black, r = white, t = level;
        const double v = (i <= white) ? std::max(i - l, 0.0) * t / (r - l)
                                      : (i - r) * (256 - t) / (256 - r) + t;
        table[i] = ToneByte(v);
    }
}

void AutoLevel(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    DeferredPlane plane(raw, width, height);
    AutoLevel(params, plane);
    plane.Flush();
}

void AutoLevel(const CStageParams& params, DeferredPlane& plane) {
    const int width = plane.Width(), height = plane.Height();
    if (width < 1 || height < 1) return;
    const int threshold = params.AL_Percent_R != 0 ? params.AL_Overflow : 255;

    Histogram histogram;
    const long long counted = LevelHistogram(params, plane, threshold, histogram);
    const int excluded = static_cast<int>(static_cast<long long>(width) * height - counted);
    const int total = kPixelTotal - excluded;
    const int noise = params.AL_Noise;

    int black = 0;
    if (params.AL_Percent_L != 0) {
        const int target = platform::MulDiv(total, params.AL_Percent_L, 1000);
        black = std::min(SearchLevel(histogram, 0, 254, target, noise), params.AL_Limit_L);
    }
    int white = 255;
    if (params.AL_Percent_R != 0) {
        const int target = platform::MulDiv(total, params.AL_Percent_R, 1000);
        int found = -1;
        if (threshold >= 1) {
            // Above 255 the sum stays 0: the search ends at once or walks on to 255.
            found = (threshold > 255 && target <= 0)
                        ? threshold
                        : SearchLevel(histogram, std::min(threshold, 255), 1, target, noise);
        }
        white = std::max(found, params.AL_Limit_R);
    }

    ToneTable table;
    BuildAutoLevelTable(black, white, threshold, table);
    plane.Compose(table);
}
