// The statistics image made a run at a time (plain pixels and an SSE2 path
// for the columns whose neighbours need no confining), the over-exposure
// marks, the histograms gathered from the runs, and curve values as integers.
#include "statistics.h"

#include <cmath>

#include "../planes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// How often the tails' limits are moved: often enough that few rows are
// counted in full, seldom enough that the bins' walk costs little.
constexpr int kRowsPerNarrowing = 8;

// The colours one position gets: the site's own sample and the other two
// estimated from the neighbours, sums of 8-bit samples halved or quartered by
// shifting (floor). Sites by stored row and column parity: even row green,
// blue; odd row red, green.
void PlainPixel(const std::uint8_t* row, const std::uint8_t* up, const std::uint8_t* down,
                int width, int x, bool oddRow, StatisticsRun& run, int i) {
    const int left = NeighbourBefore(x, width), right = NeighbourAfter(x, width);
    const int own = row[x];
    const int across = row[left] + row[right];
    const int upDown = up[x] + down[x];
    const int cross = (across + upDown) >> 2;
    const int diagonal = (down[right] + down[left] + up[right] + up[left]) >> 2;
    int blue, green, red;
    if (oddRow == bool(x & 1)) {  // green
        green = own;
        blue = oddRow ? upDown >> 1 : across >> 1;
        red = oddRow ? across >> 1 : upDown >> 1;
    } else if (!oddRow) {  // blue
        blue = own, green = cross, red = diagonal;
    } else {  // red
        blue = diagonal, green = cross, red = own;
    }
    run.blue[i] = static_cast<std::uint8_t>(blue);
    run.green[i] = static_cast<std::uint8_t>(green);
    run.red[i] = static_cast<std::uint8_t>(red);
}

struct RowNeighbours {
    const std::uint8_t* row;
    const std::uint8_t* up;
    const std::uint8_t* down;
};

RowNeighbours RowsAround(const std::uint8_t* raw, int width, int height, int y) {
    return {raw + std::size_t(y) * width, raw + std::size_t(NeighbourBefore(y, height)) * width,
            raw + std::size_t(NeighbourAfter(y, height)) * width};
}

#if defined(__SSE2__)

__m128i Load16(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__m128i Select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// Sums of bytes halved and quartered by shifting, kept in bytes: a pair is
// its rounded-up average less the carry bit, (a + b) >> 1; four samples are
// the halved sums of two pairs averaged with the pairs' lost bits as carry,
// (a + b + c + d) >> 2.
struct HalfSum {
    __m128i half;  // (a + b) >> 1
    __m128i odd;   // (a + b) & 1
};

HalfSum Pair(__m128i a, __m128i b) {
    const __m128i odd = _mm_and_si128(_mm_xor_si128(a, b), _mm_set1_epi8(1));
    return {_mm_sub_epi8(_mm_avg_epu8(a, b), odd), odd};
}

__m128i Quarter(const HalfSum& p, const HalfSum& q) {
    // (2hp + op + 2hq + oq) >> 2 = (hp + hq + (op & oq)) >> 1.
    const __m128i carry = _mm_and_si128(p.odd, q.odd);
    const __m128i lost = _mm_andnot_si128(carry, _mm_and_si128(_mm_xor_si128(p.half, q.half),
                                                               _mm_set1_epi8(1)));
    return _mm_sub_epi8(_mm_avg_epu8(p.half, q.half), lost);
}

// Sixteen pixels from an even column x.
void Colours16(const RowNeighbours& n, int x, bool oddRow, std::uint8_t* blue,
               std::uint8_t* green, std::uint8_t* red) {
    const __m128i evenColumns = _mm_set1_epi16(0x00FF);
    const __m128i own = Load16(n.row + x);
    const HalfSum across = Pair(Load16(n.row + x - 1), Load16(n.row + x + 1));
    const HalfSum upDown = Pair(Load16(n.up + x), Load16(n.down + x));
    const __m128i cross = Quarter(across, upDown);
    const __m128i diagonal = Quarter(Pair(Load16(n.up + x - 1), Load16(n.up + x + 1)),
                                     Pair(Load16(n.down + x - 1), Load16(n.down + x + 1)));
    __m128i b, g, r;
    if (!oddRow) {  // green, blue
        b = Select(evenColumns, across.half, own);
        g = Select(evenColumns, own, cross);
        r = Select(evenColumns, upDown.half, diagonal);
    } else {  // red, green
        b = Select(evenColumns, diagonal, upDown.half);
        g = Select(evenColumns, cross, own);
        r = Select(evenColumns, own, across.half);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(blue), b);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(green), g);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(red), r);
}

// Columns 2 .. width - 3 read their adjacent columns unconfined: sixteen at a
// time from x0 (even) into the run from position at, while they lie in that
// range and in the run's count. Returns how many columns it did.
int VectorColours(const RowNeighbours& n, int width, bool oddRow, int x0, int at, int count,
                  StatisticsRun& run) {
    int done = 0;
    for (int x = x0; x + 16 <= width - 2 && at + done + 16 <= count; x += 16, done += 16) {
        const int i = at + done;
        if (run.Quiet(i) && run.Quiet(i + 15)) continue;
        Colours16(n, x, oddRow, run.blue + i, run.green + i, run.red + i);
    }
    // The columns left before the confined ones: one more step, ending at
    // the last unconfined column, which recomputes a few columns' same bytes.
    const int last = (width - 2 - 16) & ~1;
    if (done > 0 && x0 + done < width - 2 && last < x0 + done && at + (last - x0) + 16 <= count) {
        Colours16(n, last, oddRow, run.blue + at + (last - x0), run.green + at + (last - x0),
                  run.red + at + (last - x0));
        done = last + 16 - x0;
    }
    return done;
}

// Sixteen marks: a pixel is counted unless two or three channels exceed the
// threshold (0..254 here). Adds the number counted to counted; returns how
// many pixels it marked.
int VectorMarks(StatisticsRun& run, int count, int threshold, int& counted) {
    const __m128i t = _mm_set1_epi8(static_cast<char>(threshold));
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    __m128i sums = zero;
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        if (run.Quiet(i)) {
            counted += 16;
            continue;
        }
        auto notAbove = [&](const std::uint8_t* p) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            return _mm_cmpeq_epi8(_mm_subs_epu8(v, t), zero);
        };
        const __m128i b = notAbove(run.blue), g = notAbove(run.green), r = notAbove(run.red);
        // At most one channel above: at least two of the three are not above.
        const __m128i marks = _mm_and_si128(
            _mm_or_si128(_mm_or_si128(_mm_and_si128(b, g), _mm_and_si128(b, r)), _mm_and_si128(g, r)),
            one);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(run.counted + i), marks);
        sums = _mm_add_epi64(sums, _mm_sad_epu8(marks, zero));
    }
    counted += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums));
    return i;
}

#else

int VectorColours(const RowNeighbours&, int, bool, int, int, int, StatisticsRun&) { return 0; }
int VectorMarks(StatisticsRun&, int, int, int&) { return 0; }

#endif

void Colours(const std::uint8_t* raw, int width, int height, int y, int x0, int count,
             StatisticsRun& run, bool vector) {
    const RowNeighbours n = RowsAround(raw, width, height, y);
    const bool oddRow = y & 1;
    int i = 0;
    // The confined columns 0 and 1, then the vector path from an even column.
    for (; i < count && (x0 + i < 2 || ((x0 + i) & 1)); ++i)
        PlainPixel(n.row, n.up, n.down, width, x0 + i, oddRow, run, i);
    if (vector) i += VectorColours(n, width, oddRow, x0 + i, i, count, run);
    for (; i < count; ++i) PlainPixel(n.row, n.up, n.down, width, x0 + i, oddRow, run, i);
}

}  // namespace

void StatisticsColours(const std::uint8_t* raw, int width, int height, int y, int x0, int count,
                       StatisticsRun& run) {
    Colours(raw, width, height, y, x0, count, run, true);
}

void PlainStatisticsColours(const std::uint8_t* raw, int width, int height, int y, int x0,
                            int count, StatisticsRun& run) {
    Colours(raw, width, height, y, x0, count, run, false);
}

int MarkCountedPixels(StatisticsRun& run, int count, int threshold) {
    int counted = 0;
    int i = 0;
    if (threshold >= 0 && threshold < 255) i = VectorMarks(run, count, threshold, counted);
    for (; i < count; ++i) {
        run.counted[i] =
            run.Quiet(i) || !IsOverExposed(run.blue[i], run.green[i], run.red[i], threshold);
        counted += run.counted[i];
    }
    return counted;
}

std::uint64_t QuietBlocks(const std::uint8_t* raw, int width, int height, int y, int threshold,
                          SampleRange range) {
    const int high = std::min(range.high, threshold);
    if (range.low < 0 || range.low > high || width > StatisticsRun::kCapacity) return 0;
    std::uint64_t quiet = 0;
#if defined(__SSE2__)
    const RowNeighbours n = RowsAround(raw, width, height, y);
    const __m128i low = _mm_set1_epi8(static_cast<char>(range.low));
    const __m128i top = _mm_set1_epi8(static_cast<char>(high));
    const __m128i zero = _mm_setzero_si128();
    // Blocks from column 16 whose columns x - 1 .. x + 16 lie in the plane:
    // they hold every confined neighbour column of the block's pixels, and
    // the three rows every neighbour row. Colours are floored averages of
    // such samples, so they lie between the smallest and the largest.
    for (int x = kQuietBlock; x + kQuietBlock + 1 <= width; x += kQuietBlock) {
        const __m128i a = Load16(n.up + x - 1), b = Load16(n.up + x + 1);
        const __m128i c = Load16(n.row + x - 1), d = Load16(n.row + x + 1);
        const __m128i e = Load16(n.down + x - 1), f = Load16(n.down + x + 1);
        const __m128i largest = _mm_max_epu8(_mm_max_epu8(_mm_max_epu8(a, b), _mm_max_epu8(c, d)),
                                             _mm_max_epu8(e, f));
        const __m128i smallest = _mm_min_epu8(_mm_min_epu8(_mm_min_epu8(a, b), _mm_min_epu8(c, d)),
                                              _mm_min_epu8(e, f));
        const __m128i outside =
            _mm_or_si128(_mm_subs_epu8(largest, top), _mm_subs_epu8(low, smallest));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(outside, zero)) == 0xFFFF)
            quiet |= std::uint64_t(1) << (x / kQuietBlock);
    }
#else
    (void)raw, (void)height, (void)y;
#endif
    return quiet;
}

void DemosaicForStatistics(const std::uint8_t* raw, std::uint8_t* out, int width, int height) {
    StatisticsRun run;
    for (int y = 0; y < height; ++y)
        for (int x0 = 0; x0 < width; x0 += StatisticsRun::kCapacity) {
            const int count = std::min(width - x0, StatisticsRun::kCapacity);
            StatisticsColours(raw, width, height, y, x0, count, run);
            std::uint8_t* p = out + 3 * (std::size_t(y) * width + x0);
            for (int i = 0; i < count; ++i, p += 3) {
                p[0] = run.blue[i];
                p[1] = run.green[i];
                p[2] = run.red[i];
            }
        }
}

int MeasureStatistics(DeferredPlane& plane, int overflow, ColourHistograms& histograms) {
    const int width = plane.Width(), height = plane.Height();
    if (width < 1 || height < 1 || static_cast<long long>(width) * height > kMaxRgbPixels)
        return -1;
    ColourHistograms sets[kHistogramSets] = {};
    int counted = 0;
    ForEachStatisticsRun(plane, overflow,
                         [&](int, int, int count, const StatisticsRun& run, int inRun) {
                             counted += inRun;
                             CountRun(run, count, inRun, [&](int k, int i, int weight) {
                                 sets[k].blue[run.blue[i]] += weight;
                                 sets[k].green[run.green[i]] += weight;
                                 sets[k].red[run.red[i]] += weight;
                             });
                         });
    histograms = ColourHistograms{};
    for (const ColourHistograms& set : sets)
        for (int v = 0; v < kHistogramBins; ++v) {
            histograms.blue[v] += set.blue[v];
            histograms.green[v] += set.green[v];
            histograms.red[v] += set.red[v];
        }
    return counted;
}

TailHistogram::TailHistogram(int maxTarget, int noise, int topStart)
    : maxTarget_(maxTarget), noise_(noise), topStart_(topStart) {}

void TailHistogram::Count(const std::uint8_t* values, const StatisticsRun& run, int count) {
    const std::uint8_t* counted = run.counted;
    const auto inTail = [&](int v) { return v > topLimit_ || v < bottomLimit_; };
    int i = 0;
#if defined(__SSE2__)
    // Sixteen at a time once both limits are set: the vector finds the few
    // values in a tail.
    if (topLimit_ >= 0 && bottomLimit_ <= 255) {
        const __m128i top = _mm_set1_epi8(static_cast<char>(topLimit_));
        const __m128i bottom = _mm_set1_epi8(static_cast<char>(bottomLimit_));
        const __m128i zero = _mm_setzero_si128();
        for (; i + 16 <= count; i += 16) {
            if (run.Quiet(i)) continue;
            const __m128i v = Load16(values + i);
            const __m128i between = _mm_and_si128(_mm_cmpeq_epi8(_mm_subs_epu8(v, top), zero),
                                                  _mm_cmpeq_epi8(_mm_subs_epu8(bottom, v), zero));
            const __m128i unmarked = _mm_cmpeq_epi8(Load16(counted + i), zero);
            for (unsigned take = ~unsigned(_mm_movemask_epi8(_mm_or_si128(between, unmarked))) & 0xFFFF;
                 take != 0; take &= take - 1)
                ++bins_[values[i + __builtin_ctz(take)]];
        }
    }
#endif
    for (; i < count; ++i)
        if (!run.Quiet(i) && counted[i] && inTail(values[i])) ++bins_[values[i]];
}

void TailHistogram::KeepBetweenTails(SampleRange& range) const {
    range.low = std::max(range.low, bottomLimit_);
    range.high = std::min(range.high, topLimit_);
}

void TailHistogram::RowCounted() {
    if (rows_++ % kRowsPerNarrowing != 0) return;
    const auto countedBin = [&](int v) { return bins_[v] > noise_ ? bins_[v] : 0; };
    // Only bins counted for every pixel so far may decide. The bin that
    // reaches the target is not counted further: with the counts it holds it
    // already ends the search there.
    int sum = 0;
    for (int v = topStart_; v > topLimit_; --v)
        if ((sum += countedBin(v)) >= maxTarget_) {
            topLimit_ = v;
            break;
        }
    sum = 0;
    for (int v = 0; v < bottomLimit_; ++v)
        if ((sum += countedBin(v)) >= maxTarget_) {
            bottomLimit_ = v;
            break;
        }
}

ColourPercentiles MeasurePercentiles(DeferredPlane& plane, int overflow, int percent, int noise) {
    ColourPercentiles points{};
    const auto search = [&](const Histogram* const (&h)[3]) {
        const int target = PercentileTarget(percent, points.counted);
        for (int c = 0; c < 3; ++c) {
            points.top[c] = SearchFromTop(*h[c], target, noise);
            points.bottom[c] = SearchFromBottom(*h[c], target, noise);
        }
    };
    const int width = plane.Width(), height = plane.Height();
    const bool fits = width >= 1 && height >= 1 && static_cast<long long>(width) * height <= kMaxRgbPixels;
    if (!fits || percent < 0 || percent > 1000) {
        // Targets beyond the pixel count, or none: the full histograms.
        ColourHistograms full;
        points.counted = MeasureStatistics(plane, overflow, full);
        if (points.counted >= 0) search({&full.blue, &full.green, &full.red});
        return points;
    }
    // Fewer pixels counted never give a larger target.
    const int maxTarget = PercentileTarget(percent, width * height);
    TailHistogram blue(maxTarget, noise), green(maxTarget, noise), red(maxTarget, noise);
    SampleRange quiet = kNoSamples;
    ForEachStatisticsRun(
        plane, overflow, quiet,
        [&](int, int, int count, const StatisticsRun& run, int inRun) {
            points.counted += inRun;
            blue.Count(run.blue, run, count);
            green.Count(run.green, run, count);
            red.Count(run.red, run, count);
        },
        [&] {
            quiet = {0, kHistogramBins - 1};
            for (TailHistogram* tail : {&blue, &green, &red}) {
                tail->RowCounted();
                tail->KeepBetweenTails(quiet);
            }
        });
    search({&blue.Bins(), &green.Bins(), &red.Bins()});
    return points;
}

int TruncateToInt(double value) {
    constexpr double kLimit = 1 << 30;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return 1 << 30;
    if (value < -kLimit) return -(1 << 30);
    return static_cast<int>(value);
}
