// Demosaicing: every path of every method against a plain per-pixel
// reference written straight from the method tables, plus the behaviour at
// uniform frames, the dispatcher, the raw plane's row order, reads and
// writes at the planes' edges, and refused sizes.
#include "stages/demosaic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "letter_params.h"
#include "stages/demosaic_paths.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------- reference

enum { kBlue, kGreen, kRed };                         // bytes of an RGB pixel
enum { N, S, E, W, NE, SE, NW, SW, kDirections };     // bit 1 << d

// Row or column i + d under the border rule.
int Edge(int i, int d, int size) {
    if (d == -1 && i == 0) return 1;
    if (d == 1 && i == size - 1) return size - 2;
    if (d == -2 && i < 2) return i;
    if (d == 2 && i >= size - 2) return i;
    return i + d;
}

struct Near {
    const Bytes& px;
    int w, h, y, x;
    int operator()(int dy, int dx) const { return px[Edge(y, dy, h) * w + Edge(x, dx, w)]; }
};

// Colour of a sample in frame order (red at row 0, column 0).
int FrameColour(int y, int x) {
    if (y % 2 == 0) return x % 2 == 0 ? kRed : kGreen;
    return x % 2 == 0 ? kGreen : kBlue;
}

Bytes FlipRowsRef(const Bytes& plane, int rowBytes, int height) {
    Bytes out(plane.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(plane.begin() + y * rowBytes, rowBytes, out.begin() + (height - 1 - y) * rowBytes);
    return out;
}

std::array<int, 3> BilinearRef(const Near& P) {
    const int C = P(0, 0);
    const int cross = (P(-1, 0) + P(1, 0) + P(0, -1) + P(0, 1)) >> 2;
    const int diag = (P(-1, -1) + P(-1, 1) + P(1, -1) + P(1, 1)) >> 2;
    const int vert = (P(-1, 0) + P(1, 0)) >> 1;
    const int horiz = (P(0, -1) + P(0, 1)) >> 1;
    if (P.y % 2 == 0 && P.x % 2 == 0) return {diag, cross, C};
    if (P.y % 2 == 0) return {vert, C, horiz};
    if (P.x % 2 == 0) return {horiz, C, vert};
    return {C, cross, diag};
}

std::array<int, kDirections> GradientsRef(const Near& P) {
    const auto A = [](int a, int b) { return std::abs(a - b); };
    const auto H = [](int a, int b) { return std::abs(a - b) >> 1; };
    const int C = P(0, 0);
    std::array<int, kDirections> g{};
    g[N] = A(P(-1, 0), P(1, 0)) + A(P(-2, 0), C) + H(P(-1, -1), P(1, -1)) + H(P(-1, 1), P(1, 1)) +
           H(P(-2, -1), P(0, -1)) + H(P(-2, 1), P(0, 1));
    g[S] = A(P(1, 0), P(-1, 0)) + A(P(2, 0), C) + H(P(1, -1), P(-1, -1)) + H(P(1, 1), P(-1, 1)) +
           H(P(2, -1), P(0, -1)) + H(P(2, 1), P(0, 1));
    g[E] = A(P(0, 1), P(0, -1)) + A(P(0, 2), C) + H(P(-1, 1), P(-1, -1)) + H(P(1, 1), P(1, -1)) +
           H(P(-1, 2), P(-1, 0)) + H(P(1, 2), P(1, 0));
    g[W] = A(P(0, -1), P(0, 1)) + A(P(0, -2), C) + H(P(-1, -1), P(-1, 1)) + H(P(1, -1), P(1, 1)) +
           H(P(-1, -2), P(-1, 0)) + H(P(1, -2), P(1, 0));
    if (FrameColour(P.y, P.x) != kGreen) {
        g[NE] = A(P(-1, 1), P(1, -1)) + A(P(-2, 2), C) + H(P(-1, 0), P(0, -1)) + H(P(0, 1), P(1, 0)) +
                H(P(-2, 1), P(-1, 0)) + H(P(-1, 2), P(0, 1));
        g[SE] = A(P(1, 1), P(-1, -1)) + A(P(2, 2), C) + H(P(1, 0), P(0, -1)) + H(P(0, 1), P(-1, 0)) +
                H(P(2, 1), P(1, 0)) + H(P(1, 2), P(0, 1));
        g[NW] = A(P(-1, -1), P(1, 1)) + A(P(-2, -2), C) + H(P(-1, 0), P(0, 1)) + H(P(0, -1), P(1, 0)) +
                H(P(-2, -1), P(-1, 0)) + H(P(-1, -2), P(0, -1));
        g[SW] = A(P(1, -1), P(-1, 1)) + A(P(2, -2), C) + H(P(1, 0), P(0, 1)) + H(P(0, -1), P(-1, 0)) +
                H(P(2, -1), P(1, 0)) + H(P(1, -2), P(0, -1));
    } else {
        g[NE] = A(P(-1, 1), P(1, -1)) + A(P(-2, 2), C) + A(P(-1, 2), P(1, 0)) + A(P(-2, 1), P(0, -1));
        g[SE] = A(P(1, 1), P(-1, -1)) + A(P(2, 2), C) + A(P(1, 2), P(-1, 0)) + A(P(2, 1), P(0, -1));
        g[NW] = A(P(-1, -1), P(1, 1)) + A(P(-2, -2), C) + A(P(-1, -2), P(1, 0)) + A(P(-2, -1), P(0, 1));
        g[SW] = A(P(1, -1), P(-1, 1)) + A(P(2, -2), C) + A(P(1, -2), P(-1, 0)) + A(P(2, -1), P(0, 1));
    }
    return g;
}

using Estimates = std::array<std::array<int, 3>, kDirections>;  // [direction][colour]

// The two colours a green site lacks: vertical neighbours V, horizontal H.
int VerticalColour(int y) { return y % 2 == 1 ? kRed : kBlue; }
int HorizontalColour(int y) { return y % 2 == 1 ? kBlue : kRed; }

Estimates TvngEstimatesRef(const Near& P) {
    const int C = P(0, 0);
    Estimates e{};
    const int own = FrameColour(P.y, P.x);
    if (own != kGreen) {
        // One table row per direction: green, Y, X estimates.
        const int X = own;
        const int Y = own == kRed ? kBlue : kRed;
        const auto row = [&](int d, int green, int y, int x) {
            e[d][kGreen] = green, e[d][Y] = y, e[d][X] = x;
        };
        row(N, P(-1, 0), (P(-1, -1) + P(-1, 1)) >> 1, (P(-2, 0) + C) >> 1);
        row(S, P(1, 0), (P(1, -1) + P(1, 1)) >> 1, (P(2, 0) + C) >> 1);
        row(E, P(0, 1), (P(-1, 1) + P(1, 1)) >> 1, (P(0, 2) + C) >> 1);
        row(W, P(0, -1), (P(-1, -1) + P(1, -1)) >> 1, (P(0, -2) + C) >> 1);
        row(NE, (P(-2, 1) + P(-1, 0) + P(-1, 2) + P(0, 1)) >> 2, P(-1, 1), (P(-2, 2) + C) >> 1);
        row(SE, (P(0, 1) + P(1, 0) + P(1, 2) + P(2, 1)) >> 2, P(1, 1), (P(2, 2) + C) >> 1);
        row(NW, (P(-2, -1) + P(-1, -2) + P(-1, 0) + P(0, -1)) >> 2, P(-1, -1), (P(-2, -2) + C) >> 1);
        row(SW, (P(2, -1) + P(1, -2) + P(1, 0) + P(0, -1)) >> 2, P(1, -1), (P(2, -2) + C) >> 1);
    } else {
        // One table row per direction: V, H, green estimates.
        const int V = VerticalColour(P.y);
        const int H = HorizontalColour(P.y);
        const auto row = [&](int d, int v, int h, int green) {
            e[d][V] = v, e[d][H] = h, e[d][kGreen] = green;
        };
        row(N, P(-1, 0), (P(-2, -1) + P(-2, 1) + P(0, -1) + P(0, 1)) >> 2, (P(-2, 0) + C) >> 1);
        row(S, P(1, 0), (P(0, -1) + P(0, 1) + P(2, -1) + P(2, 1)) >> 2, (P(2, 0) + C) >> 1);
        row(E, (P(-1, 0) + P(-1, 2) + P(1, 0) + P(1, 2)) >> 2, P(0, 1), (P(0, 2) + C) >> 1);
        row(W, (P(-1, -2) + P(-1, 0) + P(1, -2) + P(1, 0)) >> 2, P(0, -1), (P(0, -2) + C) >> 1);
        row(NE, (P(-1, 0) + P(-1, 2)) >> 1, (P(-2, 1) + P(0, 1)) >> 1, P(-1, 1));
        row(SE, (P(1, 0) + P(1, 2)) >> 1, (P(0, 1) + P(2, 1)) >> 1, P(1, 1));
        row(NW, (P(-1, -2) + P(-1, 0)) >> 1, (P(-2, -1) + P(0, -1)) >> 1, P(-1, -1));
        row(SW, (P(1, -2) + P(1, 0)) >> 1, (P(0, -1) + P(2, -1)) >> 1, P(1, -1));
    }
    return e;
}

int Clamp(int v) { return std::min(std::max(v, 0), 255); }
int Half(int v) { return v >> 1; }

// The line method's colour-difference estimates replace TVNG's averages of
// colours the centre lacks.
Estimates LineEstimatesRef(const Near& P) {
    Estimates e = TvngEstimatesRef(P);
    const int C = P(0, 0);
    const int own = FrameColour(P.y, P.x);
    if (own != kGreen) {
        const int Y = own == kRed ? kBlue : kRed;
        e[N][Y] = (Clamp(P(-1, -1) + P(-1, 0) - P(0, -1)) + Clamp(P(-1, 1) + P(-1, 0) - P(0, 1))) >> 1;
        e[S][Y] = (Clamp(P(1, -1) + P(1, 0) - P(0, -1)) + Clamp(P(1, 1) + P(1, 0) - P(0, 1))) >> 1;
        e[E][Y] = (Clamp(P(-1, 1) + P(0, 1) - P(-1, 0)) + Clamp(P(1, 1) + P(0, 1) - P(1, 0))) >> 1;
        e[W][Y] = (Clamp(P(-1, -1) + P(0, -1) - P(-1, 0)) + Clamp(P(1, -1) + P(0, -1) - P(1, 0))) >> 1;
        e[NE][kGreen] = (Clamp(Half(P(-2, 2)) - Half(P(-2, 0)) + P(-2, 1)) +
                         Clamp(Half(C) - Half(P(-2, 0)) + P(-1, 0)) +
                         Clamp(Half(P(-2, 2)) - Half(P(0, 2)) + P(-1, 2)) +
                         Clamp(Half(C) - Half(P(0, 2)) + P(0, 1))) >> 2;
        e[SE][kGreen] = (Clamp(Half(C) - Half(P(0, 2)) + P(0, 1)) +
                         Clamp(Half(C) - Half(P(2, 0)) + P(1, 0)) +
                         Clamp(Half(P(2, 2)) - Half(P(0, 2)) + P(1, 2)) +
                         Clamp(Half(P(2, 2)) - Half(P(2, 0)) + P(2, 1))) >> 2;
        e[NW][kGreen] = (Clamp(Half(P(-2, -2)) - Half(P(-2, 0)) + P(-2, -1)) +
                         Clamp(Half(P(-2, -2)) - Half(P(0, -2)) + P(-1, -2)) +
                         Clamp(Half(C) - Half(P(-2, 0)) + P(-1, 0)) +
                         Clamp(Half(C) - Half(P(0, -2)) + P(0, -1))) >> 2;
        e[SW][kGreen] = (Clamp(Half(C) - Half(P(0, -2)) + P(0, -1)) +
                         Clamp(Half(P(2, -2)) - Half(P(0, -2)) + P(1, -2)) +
                         Clamp(Half(C) - Half(P(2, 0)) + P(1, 0)) +
                         Clamp(Half(P(2, -2)) - Half(P(2, 0)) + P(2, -1))) >> 2;
    } else {
        const int V = VerticalColour(P.y);
        const int H = HorizontalColour(P.y);
        e[N][H] = (Clamp(P(-2, -1) + P(-2, 0) - P(-1, -1)) + Clamp(P(-2, 1) + P(-2, 0) - P(-1, 1)) +
                   Clamp(P(0, -1) + C - P(-1, -1)) + Clamp(P(0, 1) + C - P(-1, 1))) >> 2;
        e[S][H] = (Clamp(P(2, -1) + P(2, 0) - P(1, -1)) + Clamp(P(2, 1) + P(2, 0) - P(1, 1)) +
                   Clamp(P(0, -1) + C - P(1, -1)) + Clamp(P(0, 1) + C - P(1, 1))) >> 2;
        e[E][V] = (Clamp(P(-1, 2) + P(0, 2) - P(-1, 1)) + Clamp(P(1, 2) + P(0, 2) - P(1, 1)) +
                   Clamp(P(-1, 0) + C - P(-1, 1)) + Clamp(P(1, 0) + C - P(1, 1))) >> 2;
        e[W][V] = (Clamp(P(-1, -2) + P(0, -2) - P(-1, -1)) + Clamp(P(1, -2) + P(0, -2) - P(1, -1)) +
                   Clamp(P(-1, 0) + C - P(-1, -1)) + Clamp(P(1, 0) + C - P(1, -1))) >> 2;
        e[NE][V] = (Clamp(Half(P(-1, 1)) - Half(P(-2, 0)) + P(-1, 0)) +
                    Clamp(Half(P(-1, 1)) - Half(P(0, 2)) + P(-1, 2))) >> 1;
        e[NE][H] = (Clamp(Half(P(-1, 1)) - Half(P(-2, 0)) + P(-2, 1)) +
                    Clamp(Half(P(-1, 1)) - Half(P(0, 2)) + P(0, 1))) >> 1;
        e[SE][V] = (Clamp(Half(P(1, 1)) - Half(P(2, 0)) + P(1, 0)) +
                    Clamp(Half(P(1, 1)) - Half(P(0, 2)) + P(1, 2))) >> 1;
        e[SE][H] = (Clamp(Half(P(1, 1)) - Half(P(0, 2)) + P(0, 1)) +
                    Clamp(Half(P(1, 1)) - Half(P(2, 0)) + P(2, 1))) >> 1;
        e[NW][V] = (Clamp(Half(P(-1, -1)) - Half(P(0, -2)) + P(-1, -2)) +
                    Clamp(Half(P(-1, -1)) - Half(P(-2, 0)) + P(-1, 0))) >> 1;
        e[NW][H] = (Clamp(Half(P(-1, -1)) - Half(P(-2, 0)) + P(-2, -1)) +
                    Clamp(Half(P(-1, -1)) - Half(P(0, -2)) + P(0, -1))) >> 1;
        e[SW][V] = (Clamp(Half(P(1, -1)) - Half(P(0, -2)) + P(1, -2)) +
                    Clamp(Half(P(1, -1)) - Half(P(2, 0)) + P(1, 0))) >> 1;
        e[SW][H] = (Clamp(Half(P(1, -1)) - Half(P(0, -2)) + P(0, -1)) +
                    Clamp(Half(P(1, -1)) - Half(P(2, 0)) + P(2, -1))) >> 1;
    }
    return e;
}

std::array<int, 3> CombineRef(const Near& P, const Estimates& e, int mask) {
    const int own = FrameColour(P.y, P.x);
    std::array<int, 3> sum{};
    int n = 0;
    for (int d = 0; d < kDirections; ++d) {
        if (!(mask & (1 << d))) continue;
        ++n;
        for (int k = 0; k < 3; ++k) sum[k] += e[d][k];
    }
    std::array<int, 3> out{};
    for (int k = 0; k < 3; ++k)
        out[k] = k == own ? P(0, 0) : std::min(std::max(P(0, 0) + (sum[k] - sum[own]) / n, 1), 255);
    return out;
}

std::array<int, 3> TvngRef(const Near& P) {
    const auto g = GradientsRef(P);
    const int lo = *std::min_element(g.begin(), g.end());
    const int hi = *std::max_element(g.begin(), g.end());
    int mask = 0;
    for (int d = 0; d < kDirections; ++d)
        if (g[d] <= lo + (hi >> 1)) mask |= 1 << d;
    return CombineRef(P, TvngEstimatesRef(P), mask);
}

// How often the reference took each branch of the line method, so that a
// test can see that its frames reach all of them.
struct LineCoverage {
    int flat = 0, narrowMask = 0, wideMask = 0, rule[4] = {}, only[4] = {};
};
LineCoverage gCoverage;

std::array<int, 3> TvngLineRef(const Near& P) {
    const auto g = GradientsRef(P);
    const int lo = *std::min_element(g.begin(), g.end());
    const int hi = *std::max_element(g.begin(), g.end());
    const int t1 = lo + (hi >> 1);
    if (t1 < 24 || hi < 48) {
        ++gCoverage.flat;
        return BilinearRef(P);
    }
    int mask1 = 0, mask2 = 0;
    for (int d = 0; d < kDirections; ++d) {
        if (g[d] <= t1) mask1 |= 1 << d;
        if (g[d] <= lo + (hi >> 2)) mask2 |= 1 << d;
    }
    const bool narrow = __builtin_popcount(unsigned(mask2)) >= 2;
    ++(narrow ? gCoverage.narrowMask : gCoverage.wideMask);
    int m = narrow ? mask2 : mask1;
    const auto both = [&](int a, int b) { return (m & (1 << a)) && (m & (1 << b)); };
    if (both(N, S) && !both(E, W)) m &= ~((1 << E) | (1 << W)), ++gCoverage.rule[0];
    if (both(E, W) && !both(N, S)) m &= ~((1 << N) | (1 << S)), ++gCoverage.rule[1];
    if (both(NE, SW) && !both(SE, NW)) m &= ~((1 << SE) | (1 << NW)), ++gCoverage.rule[2];
    if (both(SE, NW) && !both(NE, SW)) m &= ~((1 << NE) | (1 << SW)), ++gCoverage.rule[3];

    std::array<int, 3> out = CombineRef(P, LineEstimatesRef(P), m);
    const int own = FrameColour(P.y, P.x);
    const int Y = own == kRed ? kBlue : kRed;
    if (m == ((1 << N) | (1 << S))) {
        out[own == kGreen ? VerticalColour(P.y) : kGreen] = (P(-1, 0) + P(1, 0)) >> 1;
        ++gCoverage.only[0];
    } else if (m == ((1 << E) | (1 << W))) {
        out[own == kGreen ? HorizontalColour(P.y) : kGreen] = (P(0, -1) + P(0, 1)) >> 1;
        ++gCoverage.only[1];
    } else if (m == ((1 << NE) | (1 << SW)) && own != kGreen) {
        out[Y] = (P(-1, 1) + P(1, -1)) >> 1;
        ++gCoverage.only[2];
    } else if (m == ((1 << SE) | (1 << NW)) && own != kGreen) {
        out[Y] = (P(-1, -1) + P(1, 1)) >> 1;
        ++gCoverage.only[3];
    }
    return out;
}

// Blur: stored order, parity of the stored row r.
std::array<int, 3> BlurRef(const Near& P) {
    const int C = P(0, 0);
    const int a = (4 * C + P(-1, -1) + P(-1, 1) + P(1, -1) + P(1, 1)) >> 3;
    const int b = (4 * C + P(-2, 0) + P(2, 0) + P(0, -2) + P(0, 2)) >> 3;
    const int c = (P(-1, -1) + P(-1, 1) + P(1, -1) + P(1, 1)) >> 2;
    const int dv = (2 * (P(-1, 0) + P(1, 0)) + P(-1, -2) + P(-1, 2) + P(1, -2) + P(1, 2)) >> 3;
    const int dh = (2 * (P(0, -1) + P(0, 1)) + P(-2, -1) + P(-2, 1) + P(2, -1) + P(2, 1)) >> 3;
    const int e = (3 * (P(-1, 0) + P(1, 0) + P(0, -1) + P(0, 1)) +
                   ((P(-2, -1) + P(-2, 1) + P(-1, -2) + P(-1, 2) + P(1, -2) + P(1, 2) + P(2, -1) +
                     P(2, 1)) >> 1)) >> 4;
    if (P.y % 2 == 0) return P.x % 2 == 0 ? std::array<int, 3>{dh, a, dv} : std::array<int, 3>{b, e, c};
    return P.x % 2 == 0 ? std::array<int, 3>{c, e, b} : std::array<int, 3>{dv, a, dh};
}

struct Planes {
    Bytes raw, rgb;
};

// A whole step: flips, then every pixel from its neighbourhood.
Planes RunRef(DemosaicMethod method, const Bytes& stored, int w, int h) {
    const bool flips = method != DemosaicMethod::Blur;
    const Bytes work = flips ? FlipRowsRef(stored, w, h) : stored;
    Bytes rgb(std::size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Near P{work, w, h, y, x};
            std::array<int, 3> v{};
            switch (method) {
                case DemosaicMethod::Bilinear: v = BilinearRef(P); break;
                case DemosaicMethod::Tvng: v = TvngRef(P); break;
                case DemosaicMethod::Blur: v = BlurRef(P); break;
                default: v = TvngLineRef(P); break;
            }
            for (int k = 0; k < 3; ++k) rgb[(std::size_t(y) * w + x) * 3 + k] = std::uint8_t(v[k]);
        }
    return {work, flips ? FlipRowsRef(rgb, w * 3, h) : rgb};
}

// ------------------------------------------------------------------ frames

struct Frame {
    std::string name;
    int w, h;
    Bytes px;
};

Frame MakeFrame(const std::string& name, int w, int h, const std::function<int(int, int)>& f) {
    Frame fr{name + " " + std::to_string(w) + "x" + std::to_string(h), w, h, Bytes(std::size_t(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) fr.px[std::size_t(y) * w + x] = std::uint8_t(f(x, y));
    return fr;
}

Frame RandomFrame(int w, int h, int lo, int hi, unsigned seed) {
    std::mt19937 rng(seed + unsigned(w) * 977u + unsigned(h));
    std::uniform_int_distribution<int> dist(lo, hi);
    return MakeFrame("random " + std::to_string(lo) + ".." + std::to_string(hi), w, h,
                     [&](int, int) { return dist(rng); });
}

// Full-size random frames, and odd-aligned small sizes with random, flat,
// edge, stripe and checker content.
std::vector<Frame> Corpus() {
    std::vector<Frame> frames;
    frames.push_back(RandomFrame(640, 480, 0, 255, 1));
    frames.push_back(RandomFrame(320, 240, 0, 255, 2));
    const int sizes[][2] = {{4, 2}, {5, 2}, {4, 3}, {6, 4}, {7, 5}, {9, 7}, {33, 17}, {35, 3},
                            {63, 9}, {64, 6}, {65, 5}, {97, 11}};
    for (const auto& s : sizes) {
        const int w = s[0], h = s[1];
        frames.push_back(RandomFrame(w, h, 0, 255, 3));
        frames.push_back(RandomFrame(w, h, 90, 130, 4));
        const struct {
            const char* name;
            std::function<int(int, int)> f;
        } patterns[] = {
            {"flat", [](int, int) { return 77; }},
            {"vertical edge", [w](int x, int) { return x < w / 2 ? 20 : 230; }},
            {"horizontal edge", [h](int, int y) { return y < h / 2 ? 240 : 10; }},
            {"diagonal edge", [](int x, int y) { return x > y ? 200 : 40; }},
            {"rising edge", [w](int x, int y) { return x + y < w / 2 ? 30 : 220; }},
            {"stripes", [](int x, int) { return (x / 2) % 2 ? 250 : 5; }},
            {"row stripes", [](int, int y) { return (y / 3) % 2 ? 180 : 60; }},
            {"checker", [](int x, int y) { return (x + y) % 2 ? 255 : 0; }},
            {"checker 2", [](int x, int y) { return (x / 2 + y / 2) % 2 ? 160 : 90; }}};
        for (const auto& p : patterns) frames.push_back(MakeFrame(p.name, w, h, p.f));
    }
    return frames;
}

const std::vector<Frame>& Frames() {
    static const std::vector<Frame> frames = Corpus();
    return frames;
}

constexpr DemosaicMethod kMethods[] = {DemosaicMethod::Bilinear, DemosaicMethod::Tvng,
                                       DemosaicMethod::Blur, DemosaicMethod::TvngLine};
const char* MethodName(DemosaicMethod m) {
    static const char* const kNames[] = {"bilinear", "tvng", "blur", "tvng-line"};
    return kNames[int(m)];
}

void RunPublic(DemosaicMethod m, std::uint8_t* raw, std::uint8_t* rgb, int w, int h) {
    switch (m) {
        case DemosaicMethod::Bilinear: DemosaicBilinear(raw, rgb, w, h); break;
        case DemosaicMethod::Tvng: DemosaicTvng(raw, rgb, w, h); break;
        case DemosaicMethod::Blur: DemosaicBlur(raw, rgb, w, h); break;
        default: DemosaicTvngLine(raw, rgb, w, h); break;
    }
}

struct Path {
    const char* name;
    std::function<void(DemosaicMethod, std::uint8_t*, std::uint8_t*, int, int)> run;
};

// The public methods (the fastest path here), and each path on its own.
std::vector<Path> Paths() {
    std::vector<Path> paths = {
        {"public", RunPublic},
        {"plain", [](DemosaicMethod m, std::uint8_t* raw, std::uint8_t* rgb, int w, int h) {
             RunDemosaic(m, PlainDemosaicPath(), raw, rgb, w, h);
         }}};
    const struct {
        const char* name;
        const DemosaicPath* path;
    } optional[] = {{"sse2", Sse2DemosaicPath()}, {"avx2", Avx2DemosaicPath()}};
    for (const auto& o : optional) {
        if (o.path == nullptr) {
            std::printf("note: no %s here, the %s path was not checked\n", o.name, o.name);
            continue;
        }
        const DemosaicPath& path = *o.path;
        paths.push_back({o.name, [&path](DemosaicMethod m, std::uint8_t* raw, std::uint8_t* rgb,
                                         int w, int h) { RunDemosaic(m, path, raw, rgb, w, h); }});
    }
    return paths;
}

// Index of the first differing byte, or -1.
long FirstDifference(const Bytes& a, const Bytes& b) {
    const auto it = std::mismatch(a.begin(), a.end(), b.begin());
    return it.first == a.end() ? -1 : long(it.first - a.begin());
}

// ------------------------------------------------------------------- tests

TEST(Demosaic, EveryPathMatchesReferenceByteForByte) {
    const std::vector<Path> paths = Paths();
    for (const Frame& f : Frames())
        for (DemosaicMethod m : kMethods) {
            const Planes want = RunRef(m, f.px, f.w, f.h);
            for (const Path& path : paths) {
                Bytes raw = f.px;
                Bytes rgb(want.rgb.size(), 0xA5);
                path.run(m, raw.data(), rgb.data(), f.w, f.h);
                const long at = FirstDifference(rgb, want.rgb);
                EXPECT_EQ(at, -1) << MethodName(m) << " " << path.name << " " << f.name << ": pixel "
                                  << at / 3 % f.w << "," << at / 3 / f.w << " byte " << at % 3
                                  << " got " << int(rgb[at < 0 ? 0 : at]) << " expected "
                                  << int(want.rgb[at < 0 ? 0 : at]);
                EXPECT_EQ(raw, want.raw) << MethodName(m) << " " << path.name << " " << f.name
                                         << ": raw plane rows";
            }
        }
}

// The frames above must reach every branch of the line method, or the
// comparison proves little about it.
TEST(Demosaic, FramesReachEveryLineBranch) {
    gCoverage = {};
    for (const Frame& f : Frames()) RunRef(DemosaicMethod::TvngLine, f.px, f.w, f.h);
    EXPECT_GT(gCoverage.flat, 0);
    EXPECT_GT(gCoverage.narrowMask, 0);
    EXPECT_GT(gCoverage.wideMask, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(gCoverage.rule[i], 0) << "line rule " << i + 1;
        EXPECT_GT(gCoverage.only[i], 0) << "single line " << i;
    }
}

// Uniform frames stay uniform; TVNG's 1..255 limit lifts the two
// interpolated colours of a black frame to 1 and keeps the sample's own 0.
TEST(Demosaic, UniformFrames) {
    const int w = 9, h = 6;
    for (DemosaicMethod m : kMethods)
        for (int v : {0, 1, 128, 255}) {
            Bytes raw(w * h, std::uint8_t(v)), rgb(w * h * 3, 0x5A);
            RunPublic(m, raw.data(), rgb.data(), w, h);
            for (int r = 0; r < h; ++r)
                for (int x = 0; x < w; ++x) {
                    const int own = FrameColour(h - 1 - r, x);  // stored row r is frame row h-1-r
                    for (int k = 0; k < 3; ++k) {
                        const int expected = (m == DemosaicMethod::Tvng && v == 0 && k != own) ? 1 : v;
                        ASSERT_EQ(rgb[(r * w + x) * 3 + k], expected)
                            << MethodName(m) << " v=" << v << " at " << x << "," << r << " byte " << k;
                    }
                }
        }
}

// Gradients of a frame within 8 levels stay below 48: every pixel is flat.
TEST(Demosaic, TvngLineIsBilinearOnFlatFrames) {
    for (auto size : {std::array<int, 2>{64, 48}, std::array<int, 2>{7, 5}}) {
        const Frame f = RandomFrame(size[0], size[1], 100, 107, 9);
        Bytes rawA = f.px, rawB = f.px;
        Bytes line(f.px.size() * 3), bilinear(f.px.size() * 3);
        DemosaicTvngLine(rawA.data(), line.data(), f.w, f.h);
        DemosaicBilinear(rawB.data(), bilinear.data(), f.w, f.h);
        EXPECT_EQ(line, bilinear) << f.name;
    }
}

TEST(Demosaic, InterpolationSelectsMethod) {
    const Frame f = RandomFrame(16, 8, 0, 255, 11);
    std::array<Bytes, 4> byMethod;
    for (DemosaicMethod m : kMethods) {
        Bytes raw = f.px;
        byMethod[int(m)].assign(f.px.size() * 3, 0);
        RunPublic(m, raw.data(), byMethod[int(m)].data(), f.w, f.h);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) ASSERT_NE(byMethod[i], byMethod[j]) << "methods alike";

    const struct {
        int interpolation;
        DemosaicMethod method;
    } cases[] = {{0, DemosaicMethod::Bilinear}, {1, DemosaicMethod::Tvng},
                 {2, DemosaicMethod::Blur},     {3, DemosaicMethod::TvngLine},
                 {7, DemosaicMethod::Bilinear}, {4, DemosaicMethod::Bilinear},
                 {-1, DemosaicMethod::Bilinear}};
    for (const auto& c : cases) {
        CLetterParams params;
        params.SetDefaults();
        params.Interpolation = c.interpolation;
        Bytes raw = f.px, rgb(f.px.size() * 3, 0);
        Demosaic(params, raw.data(), rgb.data(), f.w, f.h);
        EXPECT_EQ(rgb, byMethod[int(c.method)]) << "Interpolation " << c.interpolation;
    }
}

// Bilinear, TVNG and TVNG-Line leave the raw plane in frame order, so a
// second step sees the rows the other way round; Blur leaves it alone.
TEST(Demosaic, RawRowOrderAfterEachMethod) {
    const Frame f = RandomFrame(8, 5, 0, 255, 13);
    for (DemosaicMethod m : kMethods) {
        Bytes raw = f.px, rgb(f.px.size() * 3);
        RunPublic(m, raw.data(), rgb.data(), f.w, f.h);
        const bool flips = m != DemosaicMethod::Blur;
        EXPECT_EQ(raw, flips ? FlipRowsRef(f.px, f.w, f.h) : f.px) << MethodName(m) << " once";
        const Bytes first = rgb;
        RunPublic(m, raw.data(), rgb.data(), f.w, f.h);
        EXPECT_EQ(raw, f.px) << MethodName(m) << " twice";
        const Bytes seen = flips ? FlipRowsRef(f.px, f.w, f.h) : f.px;
        EXPECT_EQ(FirstDifference(rgb, RunRef(m, seen, f.w, f.h).rgb), -1) << MethodName(m);
        if (flips) {
            EXPECT_NE(rgb, first) << MethodName(m) << ": second step saw the same rows";
        }
    }
}

// The planes sit inside larger buffers: whatever lies around them changes
// nothing, and no path writes around them.
TEST(Demosaic, ReadsAndWritesOnlyInsideThePlanes) {
    constexpr int kGuard = 256;
    for (const Path& path : Paths())
        for (auto size : {std::array<int, 2>{4, 2}, std::array<int, 2>{7, 3},
                          std::array<int, 2>{33, 5}, std::array<int, 2>{640, 480}})
            for (DemosaicMethod m : kMethods) {
                const Frame f = RandomFrame(size[0], size[1], 0, 255, 17);
                const std::string where =
                    std::string(MethodName(m)) + " " + path.name + " " + f.name;
                std::array<Bytes, 2> out;
                for (int fill = 0; fill < 2; ++fill) {
                    const std::uint8_t guard = fill ? 0xFF : 0x00;
                    Bytes raw(f.px.size() + 2 * kGuard, guard);
                    Bytes rgb(f.px.size() * 3 + 2 * kGuard, guard);
                    std::copy(f.px.begin(), f.px.end(), raw.begin() + kGuard);
                    path.run(m, raw.data() + kGuard, rgb.data() + kGuard, f.w, f.h);
                    for (int i = 0; i < kGuard; ++i) {
                        ASSERT_EQ(raw[i], guard) << where;
                        ASSERT_EQ(raw[raw.size() - 1 - i], guard) << where;
                        ASSERT_EQ(rgb[i], guard) << where << " wrote before the plane";
                        ASSERT_EQ(rgb[rgb.size() - 1 - i], guard) << where << " wrote past the plane";
                    }
                    out[fill].assign(rgb.begin() + kGuard, rgb.end() - kGuard);
                }
                EXPECT_EQ(out[0], out[1]) << where << " read outside the raw plane";
            }
}

// Outside 4..1024 columns, 2.. rows and the raw plane's capacity the step
// does nothing at all.
TEST(Demosaic, RefusedSizesTouchNothing) {
    const int sizes[][2] = {{3, 8}, {4, 1}, {1025, 2}, {0, 0}, {-4, 6}, {8, -2}, {640, 481}};
    for (const auto& s : sizes)
        for (DemosaicMethod m : kMethods) {
            const std::size_t pixels = std::size_t(std::max(s[0], 1)) * std::max(s[1], 1);
            const Frame f = RandomFrame(int(pixels), 1, 0, 255, 19);
            Bytes raw = f.px, rgb(pixels * 3, 0x3C);
            RunPublic(m, raw.data(), rgb.data(), s[0], s[1]);
            EXPECT_EQ(raw, f.px) << MethodName(m) << " " << s[0] << "x" << s[1];
            EXPECT_EQ(rgb, Bytes(pixels * 3, 0x3C)) << MethodName(m) << " " << s[0] << "x" << s[1];
        }
}

TEST(Demosaic, RowFlipsKeepTheMiddleRow) {
    Bytes raw = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    FlipRawRows(raw.data(), 4, 3);
    EXPECT_EQ(raw, (Bytes{9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}));
    Bytes rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    FlipRgbRows(rgb.data(), 2, 2);
    EXPECT_EQ(rgb, (Bytes{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
