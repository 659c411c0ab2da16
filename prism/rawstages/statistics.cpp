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

__m128i Load8(const std::uint8_t* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                             _mm_setzero_si128());
}

__m128i Select(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// Eight pixels from an even column x, as 16-bit lanes. Inlined, so that the
// lanes stay in registers.
[[gnu::always_inline]] inline void Colours8(const RowNeighbours& n, int x, bool oddRow, __m128i& blue, __m128i& green,
              __m128i& red) {
    const __m128i evenColumns = _mm_set_epi16(0, -1, 0, -1, 0, -1, 0, -1);
    const __m128i own = Load8(n.row + x);
    const __m128i across = _mm_add_epi16(Load8(n.row + x - 1), Load8(n.row + x + 1));
    const __m128i upDown = _mm_add_epi16(Load8(n.up + x), Load8(n.down + x));
    const __m128i diagonalSum =
        _mm_add_epi16(_mm_add_epi16(Load8(n.up + x - 1), Load8(n.up + x + 1)),
                      _mm_add_epi16(Load8(n.down + x - 1), Load8(n.down + x + 1)));
    const __m128i halfAcross = _mm_srli_epi16(across, 1);
    const __m128i halfUpDown = _mm_srli_epi16(upDown, 1);
    const __m128i cross = _mm_srli_epi16(_mm_add_epi16(across, upDown), 2);
    const __m128i diagonal = _mm_srli_epi16(diagonalSum, 2);
    if (!oddRow) {  // green, blue
        blue = Select(evenColumns, halfAcross, own);
        green = Select(evenColumns, own, cross);
        red = Select(evenColumns, halfUpDown, diagonal);
    } else {  // red, green
        blue = Select(evenColumns, diagonal, halfUpDown);
        green = Select(evenColumns, cross, own);
        red = Select(evenColumns, own, halfAcross);
    }
}

void Store16(std::uint8_t* out, __m128i low, __m128i high) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
}

// Columns 2 .. width - 3 read their adjacent columns unconfined: sixteen at a
// time from x0 (even) into the run from position at, while they lie in that
// range and in the run's count. Returns how many columns it did.
int VectorColours(const RowNeighbours& n, int width, bool oddRow, int x0, int at, int count,
                  StatisticsRun& run) {
    int done = 0;
    for (int x = x0; x + 16 <= width - 2 && at + done + 16 <= count; x += 16, done += 16) {
        __m128i b0, g0, r0, b1, g1, r1;
        Colours8(n, x, oddRow, b0, g0, r0);
        Colours8(n, x + 8, oddRow, b1, g1, r1);
        Store16(run.blue + at + done, b0, b1);
        Store16(run.green + at + done, g0, g1);
        Store16(run.red + at + done, r0, r1);
    }
    return done;
}

// Sixteen marks: a pixel is counted unless two or three channels exceed the
// threshold (0..254 here).
int VectorMarks(StatisticsRun& run, int count, int threshold) {
    const __m128i t = _mm_set1_epi8(static_cast<char>(threshold));
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        auto notAbove = [&](const std::uint8_t* p) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            return _mm_cmpeq_epi8(_mm_subs_epu8(v, t), zero);
        };
        const __m128i b = notAbove(run.blue), g = notAbove(run.green), r = notAbove(run.red);
        // At most one channel above: at least two of the three are not above.
        const __m128i counted = _mm_or_si128(_mm_or_si128(_mm_and_si128(b, g), _mm_and_si128(b, r)),
                                             _mm_and_si128(g, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(run.counted + i), _mm_and_si128(counted, one));
    }
    return i;
}

#else

int VectorColours(const RowNeighbours&, int, bool, int, int, int, StatisticsRun&) { return 0; }
int VectorMarks(StatisticsRun&, int, int) { return 0; }

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

void MarkCountedPixels(StatisticsRun& run, int count, int threshold) {
    int i = 0;
    if (threshold >= 0 && threshold < 255) i = VectorMarks(run, count, threshold);
    for (; i < count; ++i)
        run.counted[i] = !IsOverExposed(run.blue[i], run.green[i], run.red[i], threshold);
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
    // Two sets of bins, for even and odd positions of a run: neighbours often
    // share a value, and one set would make each count wait for the last.
    ColourHistograms sets[2] = {};
    int counted = 0;
    ForEachStatisticsRun(plane, overflow, [&](int, int, int count, const StatisticsRun& run) {
        int i = 0;
        for (; i + 1 < count; i += 2) {
            for (int k = 0; k < 2; ++k) {
                const int c = run.counted[i + k];
                sets[k].blue[run.blue[i + k]] += c;
                sets[k].green[run.green[i + k]] += c;
                sets[k].red[run.red[i + k]] += c;
                counted += c;
            }
        }
        for (; i < count; ++i) {
            const int c = run.counted[i];
            sets[0].blue[run.blue[i]] += c;
            sets[0].green[run.green[i]] += c;
            sets[0].red[run.red[i]] += c;
            counted += c;
        }
    });
    for (int v = 0; v < kHistogramBins; ++v) {
        histograms.blue[v] = sets[0].blue[v] + sets[1].blue[v];
        histograms.green[v] = sets[0].green[v] + sets[1].green[v];
        histograms.red[v] = sets[0].red[v] + sets[1].red[v];
    }
    return counted;
}

int TruncateToInt(double value) {
    constexpr double kLimit = 1 << 30;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return 1 << 30;
    if (value < -kLimit) return -(1 << 30);
    return static_cast<int>(value);
}
