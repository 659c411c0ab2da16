// Edge-adaptive blur (letters B and D). SmartBlur reads the RGB plane (three
// bytes per pixel, blue, green, red, each channel on its own), writes one
// weight 0..255 per pixel and channel into gEdgeMap (255 flat, 0 strong edge),
// and when asked blends every interior pixel with its eight neighbours by that
// weight. SharpenBlur then sharpens the low-contrast edges of the blurred
// plane again. gScratchRgb holds the copy each pass reads from.
#include "smart_blur.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "../planes.h"
#include "../tone_curve_math.h"
#include "neighbourhood.h"

namespace {

constexpr int kStrengthCount = kSmartBlurStrengths;
constexpr int kFlat = 255;
constexpr int kMaxGain = 100;
constexpr int kGainBase = 121;
constexpr int kSharpenDivisorOffset = 20;

using WeightTable = std::uint8_t[kStrengthCount];

// Edge strength of every interior byte of a row: the sum of absolute
// differences across four Sobel-like directions, each byte against the same
// channel of its neighbours (three bytes apart) in the rows before and after.
// Written for the compiler to vectorise; the largest strength, 4080, fits
// 16 bits.
void EdgeStrengthRow(const std::uint8_t* __restrict up, const std::uint8_t* __restrict mid,
                     const std::uint8_t* __restrict down, std::size_t rowBytes,
                     std::int16_t* __restrict strength) {
    for (std::size_t i = 3; i + 3 < rowBytes; ++i) {
        const int nw = up[i - 3], n = up[i], ne = up[i + 3];
        const int w = mid[i - 3], e = mid[i + 3];
        const int sw = down[i - 3], s = down[i], se = down[i + 3];
        const int d1 = (ne + 2 * e + se) - (nw + 2 * w + sw);
        const int d2 = (n + 2 * ne + e) - (w + 2 * sw + s);
        const int d3 = (e + 2 * se + s) - (n + 2 * nw + w);
        const int d4 = (sw + 2 * s + se) - (nw + 2 * n + ne);
        strength[i] =
            static_cast<std::int16_t>(std::abs(d1) + std::abs(d2) + std::abs(d3) + std::abs(d4));
    }
}

// Pulls the three channel strengths of each interior pixel together: of the
// smallest and the largest, the one farther from the middle value becomes the
// middle value (the smallest on a tie). Each byte does this for its own
// channel, finding its pixel's other two channels by the channel number in
// channelOf (0, 1, 2 repeating), so the loop vectorises; when the replaced
// value occurs twice all three are equal and replacing both changes nothing.
// The result is limited to the weight table's last index.
void PullTogetherRow(const std::int16_t* __restrict strength,
                     const std::uint8_t* __restrict channelOf, std::size_t rowBytes,
                     std::int16_t* __restrict pulled) {
    using Strength = std::int16_t;  // 16-bit lanes: strengths stay below 4096, sums below 12288
    for (std::size_t i = 3; i + 3 < rowBytes; ++i) {
        const Strength channel = channelOf[i];
        const Strength before2 = strength[i - 2], before1 = strength[i - 1];
        const Strength a = strength[i];
        const Strength after1 = strength[i + 1], after2 = strength[i + 2];
        const Strength b = channel == 2 ? before2 : after1;
        const Strength c = channel == 0 ? after2 : before1;
        const Strength lo = std::min(a, std::min(b, c));
        const Strength hi = std::max(a, std::max(b, c));
        const Strength mid = static_cast<Strength>(a + b + c - lo - hi);
        const Strength replaced = Strength(hi - mid) > Strength(mid - lo) ? hi : lo;
        const Strength limit = kStrengthCount - 1;
        pulled[i] = std::min(a == replaced ? mid : a, limit);
    }
}

void FillBorder(std::uint8_t* map, int width, int height) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::memset(map, kFlat, rowBytes);
    std::memset(map + (height - 1) * rowBytes, kFlat, rowBytes);
    for (int y = 1; y < height - 1; ++y) {
        std::memset(map + PixelOffset(0, y, width), kFlat, 3);
        std::memset(map + PixelOffset(width - 1, y, width), kFlat, 3);
    }
}

void BuildEdgeMap(const std::uint8_t* rgb, int width, int height, const WeightTable& weight,
                  std::uint8_t* map) {
    FillBorder(map, width, height);
    const std::size_t rowBytes = std::size_t(width) * 3;
    // The border pixels' entries are read beside interior ones but never used.
    std::int16_t strength[kMaxRgbWidth * 3] = {};
    std::int16_t pulled[kMaxRgbWidth * 3];
    std::uint8_t channelOf[kMaxRgbWidth * 3];
    for (std::size_t i = 0; i < rowBytes; ++i) channelOf[i] = static_cast<std::uint8_t>(i % 3);
    for (int y = 1; y < height - 1; ++y) {
        const std::uint8_t* mid = rgb + y * rowBytes;
        EdgeStrengthRow(mid - rowBytes, mid, mid + rowBytes, rowBytes, strength);
        PullTogetherRow(strength, channelOf, rowBytes, pulled);
        std::uint8_t* out = map + y * rowBytes;
        for (std::size_t i = 3; i + 3 < rowBytes; ++i) out[i] = weight[pulled[i]];
    }
}

// Every interior weight becomes the smallest of its four direct neighbours,
// so an edge also lowers the weight of the pixels beside it.
void ErodeEdgeMap(std::uint8_t* map, int width, int height, std::uint8_t* copy) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::memcpy(copy, map, rowBytes * height);
    for (int y = 1; y < height - 1; ++y) {
        // Three row pointers: mid[i - rowBytes] with an unsigned i < rowBytes
        // would wrap around the address space.
        const std::uint8_t* up = copy + (y - 1) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + (y + 1) * rowBytes;
        std::uint8_t* out = map + y * rowBytes;
        for (std::size_t i = 3; i + 3 < rowBytes; ++i) {
            const std::uint8_t a = std::min(up[i], down[i]);
            const std::uint8_t b = std::min(mid[i - 3], mid[i + 3]);
            out[i] = std::min(a, b);
        }
    }
}

// quotient(w, sum8, centre) gives the blended byte for map weight w.
template <class Quotient>
void BlendRows(std::uint8_t* rgb, int width, int height, const std::uint8_t* map,
               const std::uint8_t* copy, Quotient quotient) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 1; y < height - 1; ++y) {
        const std::uint8_t* up = copy + (y - 1) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + (y + 1) * rowBytes;
        const std::uint8_t* weights = map + y * rowBytes;
        std::uint8_t* out = rgb + y * rowBytes;
        for (std::size_t i = 3; i + 3 < rowBytes; ++i) {
            const int sum8 = up[i - 3] + up[i] + up[i + 3] + mid[i - 3] + mid[i + 3] + down[i - 3] +
                             down[i] + down[i + 3];
            out[i] = quotient(weights[i], sum8, mid[i]);
        }
    }
}

// (w * sum8 + k * centre) / (8 * w + k): a weighted mean of bytes, so never
// above 255. A divider per map weight serves the usual centre weights; a
// huge one from a settings file takes the plain division.
void BlendWithNeighbours(std::uint8_t* rgb, int width, int height, const std::uint8_t* map,
                         int centreWeight, std::uint8_t* copy) {
    std::memcpy(copy, rgb, std::size_t(width) * 3 * height);
    const std::uint32_t k = static_cast<std::uint32_t>(centreWeight);
    if (ByteDivider::Handles(8LL * kFlat + k)) {
        ByteDivider divide[kFlat + 1];
        for (std::uint32_t w = 0; w <= kFlat; ++w) divide[w] = ByteDivider(8 * w + k);
        BlendRows(rgb, width, height, map, copy,
                  [&](std::uint32_t w, std::uint32_t sum8, std::uint32_t centre) {
                      return static_cast<std::uint8_t>(divide[w](w * sum8 + k * centre));
                  });
    } else {
        BlendRows(rgb, width, height, map, copy,
                  [&](long long w, long long sum8, long long centre) {
                      return static_cast<std::uint8_t>((w * sum8 + k * centre) / (8 * w + k));
                  });
    }
}

// Sharpens where the map shows an edge below the threshold; the lower the
// weight, the milder the centre's lead over its neighbours.
void SharpenEdges(std::uint8_t* rgb, int width, int height, const std::uint8_t* map, int gain,
                  int threshold, std::uint8_t* copy) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::memcpy(copy, rgb, rowBytes * height);
    const int base = kGainBase - std::clamp(gain, 0, kMaxGain);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* up = copy + MirroredIndex(y - 1, height) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + MirroredIndex(y + 1, height) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::size_t left = std::size_t(MirroredIndex(x - 1, width)) * 3;
            const std::size_t right = std::size_t(MirroredIndex(x + 1, width)) * 3;
            const std::size_t at = std::size_t(x) * 3;
            for (int c = 0; c < 3; ++c) {
                const int w = map[y * rowBytes + at + c];
                if (w >= threshold) continue;
                const int d = w + base;
                const int cross = up[at + c] + down[at + c] + mid[left + c] + mid[right + c];
                const int diagonal =
                    up[left + c] + up[right + c] + down[left + c] + down[right + c];
                const int value =
                    (d * mid[at + c] - 3 * cross - 2 * diagonal) / (d - kSharpenDivisorOffset);
                rgb[y * rowBytes + at + c] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
            }
        }
    }
}

}  // namespace

// A power curve U stretches the strength; an S-curve S of the same exponent
// turns it into a falling weight through its reversed copy T[i] = S[255 - i].
void SmartBlurWeightTable(double g, std::uint8_t (&table)[kSmartBlurStrengths]) {
    int s[256];
    const PowerCurve lower(127, g);
    for (int i = 0; i <= 127; ++i) s[i] = ToneByte(lower(i));
    for (int i = 128; i <= 255; ++i) s[i] = 255 - s[255 - i];

    int u[kStrengthCount];
    const PowerCurve strength(255, g);
    for (int i = 0; i <= 255; ++i) u[i] = ToneByte(strength(i));
    for (int i = 256; i < kStrengthCount; ++i) u[i] = 511 - u[511 - i];

    for (int i = 0; i < kStrengthCount; ++i) {
        const int index = std::min(u[i] + (u[i] >> 2), 255);
        table[i] = static_cast<std::uint8_t>(s[255 - index]);
    }
}

void SmartBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
               int centreWeight) {
    if (!RgbImageFits(width, height)) return;
    WeightTable weight;
    SmartBlurWeightTable(g, weight);
    BuildEdgeMap(rgb, width, height, weight, gEdgeMap);
    for (int pass = 0; pass < erosionPasses; ++pass)
        ErodeEdgeMap(gEdgeMap, width, height, gScratchRgb);
    // A centre weight below 1 could leave the blend without a divisor.
    if (apply)
        BlendWithNeighbours(rgb, width, height, gEdgeMap, std::max(centreWeight, 1), gScratchRgb);
}

void SharpenBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
                 int centreWeight, bool sharpen, int gain, int threshold) {
    SmartBlur(rgb, width, height, g, erosionPasses, apply, centreWeight);
    if (apply && sharpen && RgbImageFits(width, height))
        SharpenEdges(rgb, width, height, gEdgeMap, gain, threshold, gScratchRgb);
}
