// Plane bounds and mirrored neighbours shared by the 3 x 3 stages (smart blur,
// sharpen blur, unsharp masks) and the digital expand. Sizes are in pixels of
// three bytes.
#pragma once

#include <cstddef>

#include "../planes.h"

// Whether a width x height RGB image fits the fixed planes (RGB plane,
// scratch copy, edge map); a stage given anything else leaves it alone.
inline bool RgbImageFits(int width, int height) {
    return width > 0 && height > 0 && static_cast<long long>(width) * height <= kMaxRgbPixels;
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
