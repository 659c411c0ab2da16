// Raw-plane auto white balance (before "1"). Finds per colour a white point
// (a high percentile of the statistics image) and a dark point (a low one),
// blends the white point with one derived from the colour's average over the
// raw plane, picks one common target, tempers it by the value limit and the
// anti-over mode, and stretches every site of the raw plane through its
// colour's piecewise-linear table. Reads `AWB_Overflow`, `AWB_Noise`,
// `AWB_Percent_R`, `AWB_LargeColor`, `AWB_LargeSub`, `AWB_ValueLimit`,
// `AWB_Average`, `AWB_Type`; writes the raw plane in place (8-bit samples)
// (its tables pending in the deferred plane).
#include "auto_white_balance.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "../platform/platform.h"
#include "../stage_params.h"
#include "statistics.h"

namespace {

enum Colour { kRed, kGreen, kBlue, kColours };

// Adds the row's even-column samples to even and its odd-column ones to odd.
void AddRowSums(const std::uint8_t* row, int width, int& even, int& odd) {
    int x = 0;
#if defined(__SSE2__)
    // Sixteen samples a step, each parity summed by one sum of absolute
    // differences against zero.
    const __m128i zero = _mm_setzero_si128();
    const __m128i evenBytes = _mm_set1_epi16(0x00FF);
    __m128i evens = zero, odds = zero;
    for (; x + 16 <= width; x += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        evens = _mm_add_epi64(evens, _mm_sad_epu8(_mm_and_si128(v, evenBytes), zero));
        odds = _mm_add_epi64(odds, _mm_sad_epu8(_mm_srli_epi16(v, 8), zero));
    }
    even += _mm_cvtsi128_si32(evens) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(evens, evens));
    odd += _mm_cvtsi128_si32(odds) + _mm_cvtsi128_si32(_mm_unpackhi_epi64(odds, odds));
#endif
    for (; x < width; ++x) (x & 1 ? odd : even) += row[x];
}

// Sum of the samples of each colour's sites; green halved, as there are twice
// as many green sites.
void SiteSums(const std::uint8_t* raw, int width, int height, int (&sums)[kColours]) {
    int red = 0, green = 0, blue = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = raw + std::size_t(y) * width;
        if (y & 1)
            AddRowSums(row, width, red, green);
        else
            AddRowSums(row, width, green, blue);
    }
    sums[kRed] = red;
    sums[kGreen] = green / 2;
    sums[kBlue] = blue;
}

// A scene dominated by one colour: one colour's spread is far below another's
// and small in itself, so balancing would only tint the picture.
bool LargeColourDominates(const CStageParams& params, const int (&hi)[kColours],
                          const int (&lo)[kColours]) {
    if (params.AWB_LargeColor == 0.0 || params.AWB_LargeSub == 0) return false;
    int spreadMax = hi[0] - lo[0];
    int spreadMin = spreadMax;
    for (int c = 1; c < kColours; ++c) {
        spreadMax = std::max(spreadMax, hi[c] - lo[c]);
        spreadMin = std::min(spreadMin, hi[c] - lo[c]);
    }
    return spreadMin * params.AWB_LargeColor < spreadMax && spreadMin <= params.AWB_LargeSub;
}

}  // namespace

void BuildWhitePointTable(int whitePoint, int target, ToneTable& table) {
    // 64-bit so that targets and white points far outside 0..255 cannot
    // overflow; for in-range values the quotients are those of 32 bits. Only
    // indices 0..255 are built, so neither divisor can be 0. The tables hold
    // bytes: an entry below 0 (a target below 0, which the value limit can
    // give a colour whose white point lies under its dark point) keeps its
    // low byte.
    const long long h = whitePoint;
    const long long o = target;
    for (int i = 0; i < 256; ++i) {
        const long long v = (i <= h) ? i * (o + 1) / (h + 1) : o + (256 - o) * (i - h) / (256 - h);
        table[i] = static_cast<int>(std::min<long long>(v, 255) & 0xFF);
    }
}

void AutoWhiteBalance(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    DeferredPlane plane(raw, width, height);
    AutoWhiteBalance(params, plane);
    plane.Flush();
}

void AutoWhiteBalance(const CStageParams& params, DeferredPlane& plane) {
    const ColourPercentiles points =
        MeasurePercentiles(plane, params.AWB_Overflow, params.AWB_Percent_R, params.AWB_Noise);
    if (points.counted < 0) return;
    // The measurement's colours are blue, green, red.
    const int hi[kColours] = {points.top[2], points.top[1], points.top[0]};
    const int lo[kColours] = {points.bottom[2], points.bottom[1], points.bottom[0]};

    int sums[kColours];
    SiteSums(plane.Raw(), plane.Width(), plane.Height(), sums);
    const int sumMax = std::max({sums[kRed], sums[kGreen], sums[kBlue]});
    const int sumMin = std::min({sums[kRed], sums[kGreen], sums[kBlue]});
    // A black frame has no averages to balance by (0 / 0): it stays as it is.
    if (sumMax == 0) return;
    // The dominated scene keeps identity tables: nothing to write.
    if (LargeColourDominates(params, hi, lo)) return;

    const double a = params.AWB_Average;
    int white[kColours];
    for (int c = 0; c < kColours; ++c) {
        const double average = static_cast<double>(sums[c]) * 255 / sumMax;
        const double v = hi[c] * (1 - a) + average * a;
        white[c] = TruncateToInt(v > 255 ? 255 : v);
    }
    const int common = std::max({white[kRed], white[kGreen], white[kBlue]});

    int out[kColours];
    for (int c = 0; c < kColours; ++c) {
        out[c] = common;
        // A colour with a small spread may be stretched to at most
        // `AWB_ValueLimit` times its spread above its dark point.
        if (params.AWB_ValueLimit != 0.0) {
            const int limit = TruncateToInt(lo[c] + (white[c] - lo[c]) * params.AWB_ValueLimit);
            if (limit <= common) out[c] = limit;
        }
    }
    if (params.AWB_Type != 0) {
        // Anti-over: the further the colour sums lie apart, the lower every
        // target, so that the weaker colours are not pushed into clipping.
        const int mid = (sumMin + 2 * sumMax) / 3;
        for (int c = 0; c < kColours; ++c) out[c] = platform::MulDiv(out[c], mid, sumMax);
    }

    ToneTable tables[kColours];
    for (int c = 0; c < kColours; ++c) BuildWhitePointTable(white[c], out[c], tables[c]);
    plane.Compose(tables[kRed], tables[kGreen], tables[kBlue]);
}
