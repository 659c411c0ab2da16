// Plain references for the raw-plane stage tests, written straight from the
// stages' descriptions and sharing no code with them, and the random planes
// the stages are compared on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace rawref {

using Plane = std::vector<std::uint8_t>;
enum Colour { kRed, kGreen, kBlue };

// Colour of a raw-plane site: even rows green, blue; odd rows red, green.
inline Colour ColourAt(int y, int x) {
    if (y % 2 == 0) return x % 2 == 0 ? kGreen : kBlue;
    return x % 2 == 0 ? kRed : kGreen;
}

// Every site drawn from its colour's range low[c] .. high[c]; a few samples
// are set to 255 so that over-exposure rules have something to exclude.
inline Plane RandomPlane(std::mt19937& rng, int w, int h, const int (&low)[3],
                         const int (&high)[3], int saturatedPercent = 0) {
    Plane p(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = ColourAt(y, x);
            const int v = std::uniform_int_distribution<int>(low[c], high[c])(rng);
            const bool burnt = int(rng() % 100) < saturatedPercent;
            p[std::size_t(y) * w + x] = static_cast<std::uint8_t>(burnt ? 255 : v);
        }
    return p;
}

// Random ranges per colour, from narrow to the full byte range.
inline Plane RandomScenePlane(std::mt19937& rng, int w, int h) {
    int low[3], high[3];
    for (int c = 0; c < 3; ++c) {
        low[c] = int(rng() % 200);
        high[c] = std::min(255, low[c] + 1 + int(rng() % 120));
    }
    return RandomPlane(rng, w, h, low, high, int(rng() % 4));
}

// Statistics demosaic: blue, green, red per position; planes at least 2 x 2.
inline Plane StatisticsImage(const Plane& raw, int w, int h) {
    auto P = [&](int r, int c) { return int(raw[std::size_t(r) * w + c]); };
    Plane out(std::size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int up = std::max(y - 1, 1), down = std::min(y + 1, h - 2);
            const int left = std::max(x - 1, 1), right = std::min(x + 1, w - 2);
            const int two_h = (P(y, right) + P(y, left)) / 2;
            const int two_v = (P(down, x) + P(up, x)) / 2;
            const int four_cross = (P(y, right) + P(y, left) + P(down, x) + P(up, x)) / 4;
            const int four_diag =
                (P(down, right) + P(down, left) + P(up, right) + P(up, left)) / 4;
            int b, g, r;
            if (y % 2 == 0 && x % 2 == 0) b = two_h, g = P(y, x), r = two_v;
            else if (y % 2 == 0) b = P(y, x), g = four_cross, r = four_diag;
            else if (x % 2 == 0) b = four_diag, g = four_cross, r = P(y, x);
            else b = two_v, g = P(y, x), r = two_h;
            std::uint8_t* o = &out[(std::size_t(y) * w + x) * 3];
            o[0] = std::uint8_t(b), o[1] = std::uint8_t(g), o[2] = std::uint8_t(r);
        }
    return out;
}

// Percentile searches: the sum is tested before the bin is added.
inline int TopSearch(const int* H, int T, int noise) {
    int i = 255, sum = 0;
    for (;;) {
        if (sum >= T) break;
        if (H[i] > noise) sum += H[i];
        --i;
        if (i == 0) break;
    }
    return i;
}

inline int BottomSearch(const int* H, int T, int noise) {
    int i = 0, sum = 0;
    for (;;) {
        if (sum >= T) break;
        if (H[i] > noise) sum += H[i];
        ++i;
        if (i == 255) break;
    }
    return i;
}

// a x b / c for a, b >= 0 and c > 0, halves rounded up.
inline int RoundedRatio(long long a, long long b, long long c) {
    return int((2 * a * b + c) / (2 * c));
}

// Histograms of the statistics image without over-exposed pixels (two or
// three channels above overflow); returns the pixel count N. H[colour][value].
inline int StatisticsHistograms(const Plane& stats, int overflow, int (&H)[3][256]) {
    std::fill(&H[0][0], &H[0][0] + 3 * 256, 0);
    int n = 0;
    for (std::size_t i = 0; i + 2 < stats.size(); i += 3) {
        const int b = stats[i], g = stats[i + 1], r = stats[i + 2];
        if ((b > overflow) + (g > overflow) + (r > overflow) >= 2) continue;
        ++H[kBlue][b], ++H[kGreen][g], ++H[kRed][r], ++n;
    }
    return n;
}

// Tone-table rounding: truncate, then up by 1 only above an exact half.
inline int Round(double v) {
    const int t = int(v);
    return v - t > 0.5 ? t + 1 : t;
}

}  // namespace rawref
