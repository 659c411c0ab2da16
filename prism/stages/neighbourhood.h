// Plane bounds, mirrored neighbours and a fast byte division shared by the
// 3 x 3 stages (smart blur, sharpen blur, unsharp masks) and the digital
// expand. Sizes are in pixels of three bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../planes.h"

// Whether a width x height RGB image fits the fixed planes (RGB plane,
// scratch copy, edge map) and the stages' row buffers; a stage given anything
// else leaves it alone.
inline bool RgbImageFits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxRgbWidth &&
           static_cast<long long>(width) * height <= kMaxRgbPixels;
}

// Neighbour index i (one step outside 0..count-1 at most) with a missing
// neighbour replaced by the one on the opposite side. A line of one pixel has
// no opposite side, so the pixel stands in for itself.
inline int MirroredIndex(int i, int count) {
    if (i < 0) return count > 1 ? 1 : 0;
    if (i >= count) return count > 1 ? count - 2 : count - 1;
    return i;
}

inline std::size_t PixelOffset(int x, int y, int width) {
    return (std::size_t(y) * width + x) * 3;
}

// floor(n / divisor) for 0 <= n < 256 * divisor by a multiply and a shift,
// exact while 256 * divisor^2 <= 2^48: the magic number's excess over
// 2^48 / divisor then moves n * magic / 2^48 by less than 1 / divisor, too
// little to cross the next integer. Cheaper than a division per byte, above
// all on 32-bit builds.
class ByteDivider {
public:
    static constexpr long long kMaxDivisor = 1LL << 20;
    static bool Handles(long long divisor) { return divisor >= 1 && divisor <= kMaxDivisor; }

    ByteDivider() = default;
    explicit ByteDivider(std::uint32_t divisor)
        : magic_((std::uint64_t(1) << kShift) / divisor + 1) {}
    std::uint32_t operator()(std::uint32_t n) const {
        return static_cast<std::uint32_t>((n * magic_) >> kShift);
    }

private:
    static constexpr int kShift = 48;
    std::uint64_t magic_ = 0;
};
