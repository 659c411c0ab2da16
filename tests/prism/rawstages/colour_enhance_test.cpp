// Colour enhance: the worked pixels of both steps, the ordering rule for
// equal values, limits, and the saturation step against the HSI round trip
// written out here pixel by pixel (every grey level, a lattice of colours,
// random pixels, a range of gains).
#include "rawstages/colour_enhance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "portable_math.h"
#include "stage_params.h"

namespace {

struct Pixel { std::uint8_t b, g, r; };

TEST(ColourEnhance, LinearPixels) {
    struct Case { int k; Pixel in, out; const char* what; } cases[] = {
        // Pixels are blue, green, red.
        {5, {100, 120, 140}, {97, 118, 145}, "worked example"},
        {5, {100, 100, 140}, {97, 98, 145}, "green counts as larger than blue"},
        {20, {10, 12, 11}, {8, 14, 11}, "middle close to the top rises with it"},
        {5, {140, 100, 100}, {145, 97, 98}, "red counts as larger than green"},
        {5, {100, 140, 140}, {94, 143, 143}, "two equal tops"},
        {5, {253, 10, 10}, {255, 7, 8}, "limited at 255"},
        {5, {2, 0, 200}, {0, 0, 205}, "limited at 0"},
        {99, {77, 77, 77}, {77, 77, 77}, "grey unchanged"},
        {0, {100, 120, 140}, {100, 120, 140}, "strength 0"},
        {-7, {100, 120, 140}, {100, 120, 140}, "negative strength acts as 0"},
        {INT_MAX, {0, 128, 255}, {0, 129, 255}, "strength beyond the spread acts as the spread"},
    };
    for (const Case& c : cases) {
        CStageParams p;
        p.CE_Linear = c.k;
        std::uint8_t px[3] = {c.in.b, c.in.g, c.in.r};
        ColourEnhanceLinear(p, px, 1, 1);
        EXPECT_EQ(px[0], c.out.b) << c.what;
        EXPECT_EQ(px[1], c.out.g) << c.what;
        EXPECT_EQ(px[2], c.out.r) << c.what;
    }
}

TEST(ColourEnhance, SaturationPixels) {
    struct Case { int percent; Pixel in, out; } cases[] = {
        {20, {50, 100, 150}, {40, 100, 160}}, {0, {50, 100, 150}, {50, 100, 150}},
        {20, {100, 100, 100}, {101, 100, 100}}, {20, {255, 255, 255}, {254, 255, 255}},
        {20, {0, 0, 0}, {1, 0, 0}},
        {200, {20, 100, 200}, {0, 87, 255}},  // tripled saturation loses the weakest byte
    };
    for (const Case& c : cases) {
        std::uint8_t px[3] = {c.in.b, c.in.g, c.in.r};
        ColourEnhanceSaturation(px, 1, 1, c.percent);
        EXPECT_EQ(px[0], c.out.b) << c.percent << "%";
        EXPECT_EQ(px[1], c.out.g) << c.percent << "%";
        EXPECT_EQ(px[2], c.out.r) << c.percent << "%";
    }
}

// The saturation step written out from its definition, one pixel at a time.
// A byte on a half step is decided by the last bits of the arc cosine and the
// cosines, so they must be correctly rounded here: the portable functions
// are, on every argument this step can produce (all 2^24 pixels, checked
// against 300-bit arithmetic), while the C library's are not on a few
// hundred of them, which turns some half-step bytes the other way.
Pixel HsiRoundTrip(Pixel in, int percent) {
    const double pi = 3.14159265358979323846;
    const double s = percent * 0.01;
    double B = in.b, G = in.g, R = in.r;
    if (R == G && G == B) B = (B == 255) ? B - 1 : B + 1;
    const double sum = R + G + B;
    const double I = sum * 0.3333333333333333;
    const double S = 1 - 3 * std::min(R, std::min(G, B)) / sum;
    const double root = std::sqrt((R - G) * (R - G) + (R - B) * (G - B));
    const double theta = portable::Acos(0.5 * ((R - G) + (R - B)) / root);
    double H = (B <= G) ? theta : 2 * pi - theta;
    if (H > 2 * pi) H -= 2 * pi;
    if (H < 0) H += 2 * pi;
    const double S2 = S * (1 + s);
    double r, g, b;
    if (H < 2 * pi / 3) {
        b = I * (1 - S2);
        r = I * (1 + S2 * portable::Cos(H) / portable::Cos(pi / 3 - H));
        g = 3 * I - (r + b);
    } else if (H < 4 * pi / 3) {
        r = I * (1 - S2);
        g = I * (1 + S2 * portable::Cos(H - 2 * pi / 3) / portable::Cos(pi - H));
        b = 3 * I - (r + g);
    } else {
        g = I * (1 - S2);
        b = I * (1 + S2 * portable::Cos(H - 4 * pi / 3) / portable::Cos(5 * pi / 3 - H));
        r = 3 * I - (g + b);
    }
    const auto toByte = [](double v) -> std::uint8_t {
        if (!(v > -1e9 && v < 1e9)) return v > 0 ? 255 : 0;
        long long t = static_cast<long long>(v);
        if (v - t > 0.5) ++t;
        return static_cast<std::uint8_t>(std::clamp<long long>(t, 0, 255));
    };
    return {toByte(b), toByte(g), toByte(r)};
}

// Gains inside the labelled range, some that put many bytes exactly on a
// half step (50, 150, -50), negative ones and very large ones.
constexpr int kGains[] = {0, 1, 20, 33, 50, 100, 150, 199, 200, -50, -100, -250,
                          10000, 10001, 123456, INT_MAX, INT_MIN};

void ExpectRoundTrip(const std::vector<Pixel>& pixels, int percent) {
    std::vector<Pixel> plane = pixels;
    ColourEnhanceSaturation(&plane[0].b, static_cast<int>(plane.size()), 1, percent);
    for (std::size_t i = 0; i < plane.size(); ++i) {
        const Pixel want = HsiRoundTrip(pixels[i], percent);
        ASSERT_TRUE(plane[i].b == want.b && plane[i].g == want.g && plane[i].r == want.r)
            << percent << "% of (" << int(pixels[i].b) << ", " << int(pixels[i].g) << ", "
            << int(pixels[i].r) << "): got (" << int(plane[i].b) << ", " << int(plane[i].g) << ", "
            << int(plane[i].r) << "), expected (" << int(want.b) << ", " << int(want.g) << ", "
            << int(want.r) << ")";
    }
}

TEST(ColourEnhance, SaturationMatchesRoundTripOnGreyAndLattice) {
    std::vector<Pixel> pixels;
    for (int v = 0; v < 256; ++v) pixels.push_back({std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)});
    // Every combination of a few levels: ties, hue sector borders (two
    // equal bytes with the third above or below), extremes.
    const int levels[] = {0, 1, 2, 3, 17, 64, 85, 127, 128, 170, 200, 253, 254, 255};
    for (int b : levels)
        for (int g : levels)
            for (int r : levels) pixels.push_back({std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)});
    for (int percent : kGains) ExpectRoundTrip(pixels, percent);
}

TEST(ColourEnhance, SaturationMatchesRoundTripOnRandomPixels) {
    std::mt19937 rng(20);
    std::vector<Pixel> pixels(200000);
    for (Pixel& p : pixels) {
        const std::uint32_t v = rng();
        p = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)};
    }
    for (int percent : kGains) ExpectRoundTrip(pixels, percent);
    std::uniform_int_distribution<int> gain(-300, 400);
    for (int i = 0; i < 20; ++i) ExpectRoundTrip(pixels, gain(rng));
}

}  // namespace
