// Generated RGB planes for stage tests: three bytes per pixel, reproducible
// from a seed. A smooth ramp with noise of a chosen amplitude gives every
// range of edge strength, from flat (amplitude 0) to rough (amplitude 255).
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

inline std::vector<std::uint8_t> NoisyRampPlane(int width, int height, int amplitude,
                                                unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);
    std::vector<std::uint8_t> plane(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int ramp = (3 * x + 2 * y + 50 * c) % 256;
                plane[(std::size_t(y) * width + x) * 3 + c] =
                    static_cast<std::uint8_t>(std::clamp(ramp + noise(random), 0, 255));
            }
    return plane;
}

inline std::vector<std::uint8_t> UniformPlane(int width, int height, std::uint8_t value) {
    return std::vector<std::uint8_t>(std::size_t(width) * height * 3, value);
}
