// Letter K: worked examples, and the stage against a plain reference written
// here step by step (own rounding multiply-divide, own loops) on random planes.
#include "stages/rgb_auto_white_balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "letter_params.h"

namespace {

using Plane = std::vector<std::uint8_t>;

int RefMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    const long long mag = ((p < 0 ? -p : p) + (c < 0 ? -(long long)c : c) / 2) / (c < 0 ? -(long long)c : c);
    const long long q = ((p < 0) != (c < 0)) ? -mag : mag;
    return (q > 2147483647LL || q < -2147483647LL) ? -1 : static_cast<int>(q);
}

// The stage written out step by step. Two choices of the stage are part of
// it: the blend is limited to 0..1000 thousandths, and a white point above
// 255 is taken as 255 when the tables are built. Weight-curve points that
// have no value (0 * infinity) count as 0, and weights are limited to 0..50.
Plane ReferenceAwb(const CLetterParams& p, const Plane& in) {
    const std::size_t n = in.size() / 3;
    const double blend = p.AWB_Average * 1000;
    const int a = blend <= 0 ? 0 : blend >= 1000 ? 1000 : static_cast<int>(blend);

    std::uint32_t hist[3][256] = {};
    int count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        int over = 0;
        for (int c = 0; c < 3; ++c) over += in[3 * i + c] > p.AWB_Overflow;
        if (over >= 2) continue;
        for (int c = 0; c < 3; ++c) hist[c][in[3 * i + c]]++;
        count++;
    }
    const int target = RefMulDiv(p.AWB_Percent_R, count, 1000);
    int hi[3];
    for (int c = 0; c < 3; ++c) {
        int i = 255, sum = 0;
        for (;;) {
            if (sum >= target) break;
            if (static_cast<int>(hist[c][i]) > p.AWB_Noise) sum += hist[c][i];
            i--;
            if (i == 0) break;
        }
        hi[c] = i + 1;
    }

    std::uint32_t sums[3] = {0, 0, 0};
    int wt[51];
    if (p.AWB_AvgType == 1) {
        const int nL = static_cast<int>(p.AWB_Left * 51);
        const int s0 = 51 - nL;
        const double c = p.AWB_Curve;
        // An exponent that makes no curve leaves it straight.
        const bool straight = !(c > 0) || !std::isfinite(c);
        for (int i = 0; i <= 50; ++i) {
            double x;
            if (straight) {
                x = i;
            } else if (i < s0) {
                x = std::pow(s0 - 1.0, 1 - c) * std::pow(i, c);
                if (std::isnan(x)) x = 0;
            } else {
                double u = std::pow(nL - 1.0, 1 - c) * std::pow(50 - i, c);
                if (std::isnan(u)) u = 0;
                x = 50 - u;
            }
            x = std::min(50.0, std::max(0.0, x));
            wt[i] = static_cast<int>(std::floor(x)) + (x - std::floor(x) >= 0.5 ? 1 : 0);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const int b = in[3 * i], g = in[3 * i + 1], r = in[3 * i + 2];
        const int mn = std::min(b, std::min(g, r)), s = b + g + r;
        std::uint32_t w = 0;
        if (p.AWB_AvgType == 0) {
            w = (1000 - RefMulDiv(mn, 3000, s) <= p.AWB_Saturation) ? 1 : 0;
        } else if (p.AWB_AvgType == 1 && s != 0) {
            w = static_cast<std::uint32_t>(wt[RefMulDiv(mn, 150, s)]);
        }
        sums[0] += b * w;
        sums[1] += g * w;
        sums[2] += r * w;
    }
    int avg[3], mx = 0;
    for (int c = 0; c < 3; ++c) mx = std::max(mx, avg[c] = static_cast<int>(sums[c] / 1000));
    int w[3];
    for (int c = 0; c < 3; ++c) w[c] = ((1000 - a) * hi[c] + a * RefMulDiv(avg[c], 255, mx)) / 1000;
    int top = std::max(w[0], std::max(w[1], w[2]));
    if (p.AWB_Type == 1) top = (std::min(w[0], std::min(w[1], w[2])) + 2 * top) / 3;

    Plane out(in.size());
    for (int c = 0; c < 3; ++c) {
        const int h = std::min(w[c], 255), o = top;
        int t[256];
        for (int i = 0; i <= h; ++i) t[i] = std::min(255, i * (o + 1) / (h + 1));
        for (int i = h + 1; i <= 255; ++i) t[i] = std::min(255, o + (256 - o) * (i - h) / (256 - h));
        for (std::size_t i = 0; i < n; ++i) out[3 * i + c] = static_cast<std::uint8_t>(t[in[3 * i + c]]);
    }
    return out;
}

// Mostly near-grey pixels with a tint, some strong colours, some
// over-exposed and some exactly grey or black ones.
Plane RandomScene(std::size_t pixels, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255), tint(-12, 12), kind(0, 99), bright(235, 255);
    Plane plane(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
        std::uint8_t* px = &plane[3 * i];
        const int k = kind(rng);
        const int v = byte(rng);
        for (int c = 0; c < 3; ++c) {
            int x = v;
            if (k < 60) x = v + tint(rng) + 6 * c;
            else if (k < 85) x = byte(rng);
            else if (k < 95) x = bright(rng);
            else if (k < 97) x = 0;
            px[c] = static_cast<std::uint8_t>(std::clamp(x, 0, 255));
        }
    }
    return plane;
}

TEST(RgbAutoWhiteBalance, MatchesReferenceOnRandomPlanes) {
    struct Setting {
        int overflow, noise, percent, avgType, saturation;
        double curve, left, average;
        int type;
    } settings[] = {
        {251, 0, 1, 0, 500, 1.0, 0.5, 0.75, 1},    // defaults
        {251, 0, 1, 1, 500, 1.0, 0.5, 0.75, 1},
        {240, 3, 10, 1, 500, 2.0, 0.3, 0.5, 0},
        {250, 0, 5, 1, 500, 0.5, 0.8, 1.0, 1},
        {230, 1, 20, 0, 0, 1.0, 0.5, 1.0, 0},      // only exact grey enters the sums
        {255, 0, 1, 0, 1000, 1.0, 0.5, 0.25, 1},
        {251, 0, 0, 0, 500, 1.0, 0.5, 0.0, 0},     // target 0: white points 256
        {251, 0, 1, 2, 500, 1.0, 0.5, 0.6, 1},     // no sums: every average-based value is -1
        {251, 0, 1, 0, 500, 1.0, 0.5, 1.0, 1},
        {251, 0, 1000, 1, 500, 1.0, 1.0, 0.75, 1}, // whole curve in the upper part
        {251, 0, 3, 1, 500, 1.5, 0.0, 0.75, 1},    // whole curve in the lower part
        {251, 0, 3, 1, 500, 3.0, 0.02, 0.9, 1},    // upper part of one entry
        {251, 0, 3, 1, 500, 3.0, 0.99, 0.9, 1},    // lower part of one entry
        {251, 0, 3, 1, 500, -2.0, 0.5, 0.9, 0},    // an exponent below 0: straight curve
        {251, 0, 1, 0, 500, 1.0, 0.5, 7.5, 1},     // blend limited to 1
        {251, 0, 1, 0, 500, 1.0, 0.5, -2.0, 0},    // blend limited to 0
        {100, 999999, 1, 1, 500, 1.0, 0.5, 0.75, 1},
    };
    unsigned seed = 1;
    for (const Setting& s : settings) {
        CLetterParams p;
        p.AWB_Overflow = s.overflow;
        p.AWB_Noise = s.noise;
        p.AWB_Percent_R = s.percent;
        p.AWB_AvgType = s.avgType;
        p.AWB_Saturation = s.saturation;
        p.AWB_Curve = s.curve;
        p.AWB_Left = s.left;
        p.AWB_Average = s.average;
        p.AWB_Type = s.type;
        for (int size : {1, 7 * 5, 97 * 61}) {
            const Plane in = RandomScene(size, seed++);
            Plane plane = in;
            RgbAutoWhiteBalance(p, plane.data(), size, 1);
            ASSERT_EQ(plane, ReferenceAwb(p, in))
                << "setting #" << (&s - settings) << ", " << size << " pixels";
        }
    }
}

// 1280 x 960 bright pixels with the largest weights: the 32-bit sums wrap.
TEST(RgbAutoWhiteBalance, SumsWrapAround) {
    CLetterParams p;
    p.AWB_AvgType = 1;
    p.AWB_Average = 1.0;
    p.AWB_Type = 0;
    Plane in(1280 * 960 * 3);
    for (std::size_t i = 0; i < in.size(); i += 3) {
        in[i] = 180 + static_cast<std::uint8_t>(i % 7);
        in[i + 1] = 200;
        in[i + 2] = 220 + static_cast<std::uint8_t>(i % 5);
    }
    Plane plane = in;
    RgbAutoWhiteBalance(p, plane.data(), 1280, 960);
    EXPECT_EQ(plane, ReferenceAwb(p, in));
}

// Curve 2 with a lower part of three entries puts point 1 at exactly 0.5,
// which rounds up: pixels of greyness 1 then weigh 1, not 0.
TEST(RgbAutoWhiteBalance, WeightCurveHalfRoundsUp) {
    CLetterParams p;
    p.AWB_AvgType = 1;
    p.AWB_Curve = 2.0;
    p.AWB_Left = 0.945;  // 48 of 51 entries in the upper part
    p.AWB_Average = 1.0;
    p.AWB_Type = 0;
    Plane in;
    for (int i = 0; i < 300; ++i) in.insert(in.end(), {2, std::uint8_t(150 + i % 50), std::uint8_t(100 + i % 30)});
    Plane plane = in;
    RgbAutoWhiteBalance(p, plane.data(), 300, 1);
    EXPECT_EQ(plane, ReferenceAwb(p, in));
    EXPECT_EQ(plane[1], 150) << "green, the largest average, keeps its values";
}

// 1000 pixels whose white points are the given values: at 0.1 % and noise
// 1 the search stops at the top bin holding two pixels or more (the last two
// pixels); single pixels added later do not move it.
Plane PlaneWithWhitePoints(int red, int green, int blue) {
    Plane plane;
    for (int i = 0; i < 998; ++i) plane.insert(plane.end(), {100, 100, 100});
    for (int i = 0; i < 2; ++i)
        plane.insert(plane.end(), {std::uint8_t(blue), std::uint8_t(green), std::uint8_t(red)});
    return plane;
}

// The averages play no part.
CLetterParams PercentileOnly(int type) {
    CLetterParams p;
    p.AWB_Overflow = 255;
    p.AWB_Noise = 1;
    p.AWB_Percent_R = 1;
    p.AWB_Average = 0.0;
    p.AWB_Type = type;
    return p;
}

TEST(RgbAutoWhiteBalance, StretchTableExample) {
    // White points red 255, green 255, blue 200; target 255.
    Plane plane = PlaneWithWhitePoints(255, 255, 200);
    for (int v : {100, 200, 201, 255}) plane.insert(plane.end(), {std::uint8_t(v), 77, 77});
    RgbAutoWhiteBalance(PercentileOnly(0), plane.data(), static_cast<int>(plane.size() / 3), 1);
    const std::size_t extra = 1000 * 3;
    EXPECT_EQ(plane[extra + 0], 127);  // 100 * 256 / 201
    EXPECT_EQ(plane[extra + 3], 254);  // the white point itself
    EXPECT_EQ(plane[extra + 6], 255);
    EXPECT_EQ(plane[extra + 9], 255);
    EXPECT_EQ(plane[extra + 1], 77);   // green and red keep their values
    EXPECT_EQ(plane[extra + 2], 77);
}

TEST(RgbAutoWhiteBalance, AntiOverTarget) {
    // White points 200, 230, 250: the common target is (200 + 500) / 3 = 233.
    struct Case { int type; int red, green, blue; } cases[] = {
        {1, 233 /* 250 * 234 / 251 */, 232 /* 230 * 234 / 231 */, 232 /* 200 * 234 / 201 */},
        {0, 250, 249 /* 230 * 251 / 231 */, 249 /* 200 * 251 / 201 */},
    };
    for (const Case& c : cases) {
        Plane plane = PlaneWithWhitePoints(250, 230, 200);
        RgbAutoWhiteBalance(PercentileOnly(c.type), plane.data(), 1000, 1);
        EXPECT_EQ(plane[999 * 3 + 2], c.red) << "type " << c.type;
        EXPECT_EQ(plane[999 * 3 + 1], c.green) << "type " << c.type;
        EXPECT_EQ(plane[999 * 3 + 0], c.blue) << "type " << c.type;
    }
}

TEST(RgbAutoWhiteBalance, AveragesAloneGiveTheLargestColourIdentity) {
    CLetterParams p;
    p.AWB_Average = 1.0;
    p.AWB_Type = 0;
    p.AWB_Saturation = 1000;
    Plane in;
    for (int i = 0; i < 256; ++i) in.insert(in.end(), {std::uint8_t(i / 2), std::uint8_t(i * 3 / 4), std::uint8_t(i)});
    Plane plane = in;
    RgbAutoWhiteBalance(p, plane.data(), 256, 1);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(plane[3 * i + 2], in[3 * i + 2]) << "red " << i;
    EXPECT_EQ(plane, ReferenceAwb(p, in));
}

TEST(RgbAutoWhiteBalance, RefusesPlanesBeyondTheScratchBuffer) {
    CLetterParams p;
    Plane plane = PlaneWithWhitePoints(250, 230, 200);
    const Plane before = plane;
    RgbAutoWhiteBalance(p, plane.data(), 1281, 960);
    RgbAutoWhiteBalance(p, plane.data(), 0, 1);
    EXPECT_EQ(plane, before);
}

}  // namespace
