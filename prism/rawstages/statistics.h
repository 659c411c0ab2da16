// Statistics that the white balances, the auto level and the S-gamma gather
// before they change a picture: the confined neighbours of the raw mosaic,
// the over-exposure rule, histograms of 256 bins with 32-bit pixel counts,
// and the two percentile searches. Sample values are 0..255, counts are
// pixels, percentiles are in tenths of a percent. The statistics image (the
// quick demosaic of the raw plane) is made a run of one row at a time and
// never stored whole: the histograms are counted from each run, which gives
// the counts of demosaicing into the scratch buffer first and counting that.
// The stages share these helpers, so that they never call their sequencer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "../platform/platform.h"
#include "../tone_table.h"
#include "deferred_plane.h"

constexpr int kHistogramBins = 256;
using Histogram = int[kHistogramBins];

// Sets of bins that a hot counting loop spreads its counts over and adds up
// at the end, so that neighbours of one value do not wait for each other.
constexpr int kHistogramSets = 4;

struct ColourHistograms {
    Histogram blue;
    Histogram green;
    Histogram red;
};

// A pixel with two or three channels above the threshold is over-exposed and
// stays out of the statistics; one bright channel is just a strong colour.
inline bool IsOverExposed(int blue, int green, int red, int threshold) {
    return (blue > threshold) + (green > threshold) + (red > threshold) >= 2;
}

// Pixel count that a percentile stands for, rounded half away from zero.
inline int PercentileTarget(int tenthsOfPercent, int pixelCount) {
    return platform::MulDiv(tenthsOfPercent, pixelCount, 1000);
}

// Both searches test the running sum before they add the bin, so the result
// lies one step beyond the last bin added. Bins holding noise pixels or fewer
// add nothing. A target of 0 gives 255 from the top and 0 from the bottom.
inline int SearchFromTop(const Histogram& histogram, int target, int noise) {
    int i = kHistogramBins - 1;
    int sum = 0;
    while (sum < target && i > 0) {
        if (histogram[i] > noise) sum += histogram[i];
        --i;
    }
    return i;
}

inline int SearchFromBottom(const Histogram& histogram, int target, int noise) {
    int i = 0;
    int sum = 0;
    while (sum < target && i < kHistogramBins - 1) {
        if (histogram[i] > noise) sum += histogram[i];
        ++i;
    }
    return i;
}

// Neighbour rows of the estimates are confined to 1 .. height - 2 and
// neighbour columns to 1 .. width - 2 (at the borders the neighbour becomes
// the pixel's own row or column). A plane one sample high or wide has no such
// range; there the neighbour is confined to the plane too, so it is the
// sample's own row or column and no read leaves the plane.
inline int NeighbourBefore(int i, int size) { return std::min(std::max(i - 1, 1), size - 1); }
inline int NeighbourAfter(int i, int size) { return std::max(std::min(i + 1, size - 2), 0); }

// Samples low .. high. A pixel whose neighbourhood (the samples its
// statistics colours are made from) holds only samples in such a range, none
// above the over-exposure threshold, is counted and has every colour in the
// range: a walk that only needs the pixels outside a range can skip it.
struct SampleRange {
    int low;
    int high;
};
constexpr SampleRange kNoSamples = {1, 0};
constexpr int kQuietBlock = 16;

// Colours and counting marks of a run of statistics-image pixels along one
// row: blue, green, red, and counted[i] = 1 when pixel i takes part in the
// statistics, 0 when it is over-exposed. Pixels 16b .. 16b + 15 of a run
// that starts at column 0 are quiet (see SampleRange) when bit b of quiet is
// set: they are counted, and their colours and marks are not made.
struct StatisticsRun {
    static constexpr int kCapacity = 1024;
    std::uint8_t blue[kCapacity];
    std::uint8_t green[kCapacity];
    std::uint8_t red[kCapacity];
    std::uint8_t counted[kCapacity];
    std::uint64_t quiet = 0;

    bool Quiet(int i) const { return (quiet >> (i / kQuietBlock)) & 1; }
};

// Bit b set: the pixels of columns 16b .. 16b + 15 of row y are quiet for
// range and threshold. Only blocks whose neighbours need no confining are
// looked at (by an SSE2 build), so a bit may stay clear where the block is
// quiet too. Rows up to StatisticsRun::kCapacity wide.
std::uint64_t QuietBlocks(const std::uint8_t* raw, int width, int height, int y, int threshold,
                          SampleRange range);

// Fills the colours of columns x0 .. x0 + count - 1 (count <= kCapacity) of
// plane row y. A vector path does the columns whose neighbours need no
// confining; the plain pixel above does the rest.
void StatisticsColours(const std::uint8_t* raw, int width, int height, int y, int x0, int count,
                       StatisticsRun& run);
// The same with the plain pixel only: the vector path's reference.
void PlainStatisticsColours(const std::uint8_t* raw, int width, int height, int y, int x0,
                            int count, StatisticsRun& run);

// Marks the first count pixels of the run by the over-exposure rule at
// threshold; returns how many are counted (quiet ones included).
int MarkCountedPixels(StatisticsRun& run, int count, int threshold);

// Calls add(set, i, weight) for every pixel i of a marked run, spreading the
// pixels over the kHistogramSets sets; weight is the pixel's mark, or the
// constant 1 when the whole run is counted (the usual case, where the marks
// need not be read).
template <typename Add>
inline void CountRun(const StatisticsRun& run, int count, int counted, Add&& add) {
    const auto walk = [&](auto weight) {
        int i = 0;
        for (; i + kHistogramSets <= count; i += kHistogramSets)
            for (int k = 0; k < kHistogramSets; ++k) add(k, i + k, weight(i + k));
        for (; i < count; ++i) add(0, i, weight(i));
    };
    if (counted == count)
        walk([](int) { return 1; });
    else
        walk([&](int i) { return int(run.counted[i]); });
}

// Walks the statistics image of the plane in runs, rows outer, calling
// visit(y, x0, count, run, counted) with the pixels marked at threshold and
// the number counted, and rowDone() after each row. Pixels quiet for `quiet`
// as it stands at the row's start are marked as such in the run. Pending
// tables are written into each row just before the walk first reads it, and
// all of them by the end.
template <typename Visit, typename RowDone>
void ForEachStatisticsRun(DeferredPlane& plane, int threshold, const SampleRange& quiet,
                          Visit&& visit, RowDone&& rowDone) {
    const int width = plane.Width(), height = plane.Height();
    StatisticsRun run;
    for (int y = 0; y < height; ++y) {
        plane.WriteRowsThrough(y + 1);  // the lowest neighbour row any row reads
        for (int x0 = 0; x0 < width; x0 += StatisticsRun::kCapacity) {
            const int count = std::min(width - x0, StatisticsRun::kCapacity);
            run.quiet =
                count == width ? QuietBlocks(plane.Raw(), width, height, y, threshold, quiet) : 0;
            StatisticsColours(plane.Raw(), width, height, y, x0, count, run);
            const int counted = MarkCountedPixels(run, count, threshold);
            visit(y, x0, count, static_cast<const StatisticsRun&>(run), counted);
        }
        rowDone();
    }
    plane.Flush();
}

// Every pixel made and marked; no row callback.
template <typename Visit>
void ForEachStatisticsRun(DeferredPlane& plane, int threshold, Visit&& visit) {
    ForEachStatisticsRun(plane, threshold, kNoSamples, visit, [] {});
}

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height);

// A histogram counted only where percentile searches from its two ends will
// read it. A search reads bins from its starting end until their sum (bins of
// noise pixels or fewer left out) reaches its target. Counts only grow, so
// once the bins from an end to some value already sum to the largest target
// the search can have, the search will end at that value whatever is counted
// later: from then on only values beyond it are counted. The bins between the
// two limits are never read; the searches give the full histogram's results.
class TailHistogram {
public:
    // maxTarget: the largest target either search can get; topStart: the
    // bin the search from the top starts at (the bottom one starts at 0).
    TailHistogram(int maxTarget, int noise, int topStart = kHistogramBins - 1);

    // Counts the values of the run's marked pixels (counted[i] != 0) that
    // lie in a tail; quiet pixels lie in none.
    void Count(const std::uint8_t* values, const StatisticsRun& run, int count);
    // Narrows range to the values that lie in neither tail.
    void KeepBetweenTails(SampleRange& range) const;
    // Ends a row: now and then moves the limits inward as far as the counts
    // so far allow.
    void RowCounted();
    const Histogram& Bins() const { return bins_; }

private:
    Histogram bins_ = {};
    int maxTarget_;
    int noise_;
    int topStart_;
    int topLimit_ = -1;                   // values above it are counted
    int bottomLimit_ = kHistogramBins;    // values below it are counted
    int rows_ = 0;
};

// White and dark points of the statistics image: the searches from the top
// and from the bottom of each colour's histogram of the pixels that pass the
// over-exposure rule, with target PercentileTarget(percent, counted).
struct ColourPercentiles {
    int counted;  // -1 when nothing was measured (see MeasureStatistics)
    int top[3];   // blue, green, red
    int bottom[3];
};
ColourPercentiles MeasurePercentiles(DeferredPlane& plane, int overflow, int percent, int noise);

// Gathers the histograms of the statistics image's pixels that pass the
// over-exposure rule with overflow (pending tables written on the way).
// Returns the number of pixels counted, or -1 (nothing gathered, nothing
// written) for a plane that is empty or larger than the scratch RGB buffer
// that the statistics image stands for.
int MeasureStatistics(DeferredPlane& plane, int overflow, ColourHistograms& histograms);

// A double truncated toward zero; NaN gives 0 and magnitudes beyond 2^30 are
// limited, so that settings outside their ranges cannot overflow later sums.
int TruncateToInt(double value);
