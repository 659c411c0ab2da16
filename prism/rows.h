// Row exchange shared by the flips of the pipeline, the demosaicing and the writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Swaps row i with row height - 1 - i for every i < height / 2 (the middle
// row of an odd height stays). Rows are rowBytes long, at most kMaxRowBytes.
constexpr std::size_t kMaxRowBytes = 2048 * 3;

inline void FlipRows(std::uint8_t* plane, std::size_t rowBytes, int height) {
    std::uint8_t temp[kMaxRowBytes];
    for (int i = 0; i < height / 2; ++i) {
        std::uint8_t* a = plane + std::size_t(i) * rowBytes;
        std::uint8_t* b = plane + std::size_t(height - 1 - i) * rowBytes;
        std::memcpy(temp, a, rowBytes);
        std::memcpy(a, b, rowBytes);
        std::memcpy(b, temp, rowBytes);
    }
}

// Exchanges the first and third byte of every pixel (BGR <-> RGB).
inline void SwapRedBlue(std::uint8_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* p = pixels + 3 * i;
        const std::uint8_t t = p[0];
        p[0] = p[2];
        p[2] = t;
    }
}
