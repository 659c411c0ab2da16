// Colour enhance of the RGB plane (width x height pixels of blue, green, red
// bytes), pixel by pixel in place. The linear step pushes each pixel's
// strongest byte up and its weakest down by at most CE_Linear sample steps,
// keeping their sum. The saturation step takes each pixel to hue, saturation
// and intensity, multiplies the saturation by 1 + percent / 100 and converts
// back, rounding and limiting each byte to 0..255.
#include "colour_enhance.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "../portable_math.h"
#include "../stage_params.h"
#include "../tone_table.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kThird = 0.3333333333333333;

// Gains up to this many percent take the exact integer path (see
// SaturateExactly); its margin of 1/300 of a step dwarfs the rounding error
// of the HSI evaluation, which grows with the gain.
constexpr int kExactGainLimit = 10000;

std::size_t PixelCount(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return std::size_t(width) * std::size_t(height);
}

// Grey has no hue: the blue used for the computation carries a trace more
// (a trace less for white), and the pixel comes back with it.
int GuardedBlue(int b, int g, int r) {
    if (b != g || g != r) return b;
    return b == 255 ? b - 1 : b + 1;
}

// The HSI round trip in double precision, as the stage defines it. It only
// decides bytes that lie on a half step, where the last bit of an arc cosine
// or a cosine matters: the portable ones keep those bits the same on every
// build.
void SaturateByHsi(std::uint8_t* p, double s) {
    const double r = p[2], g = p[1];
    const double b = GuardedBlue(p[0], p[1], p[2]);
    const double sum = r + g + b;
    const double intensity = sum * kThird;
    const double saturation = 1.0 - 3.0 * std::min({r, g, b}) / sum;
    // The guard keeps the root above 0; theta lies in 0..pi, so the hue
    // already lies in 0..2pi.
    const double root = std::sqrt((r - g) * (r - g) + (r - b) * (g - b));
    const double theta = portable::Acos(0.5 * ((r - g) + (r - b)) / root);
    const double hue = b <= g ? theta : 2.0 * kPi - theta;
    const double gained = saturation * (1.0 + s);
    double rOut, gOut, bOut;
    if (hue < 2.0 * kPi / 3.0) {
        bOut = intensity * (1.0 - gained);
        const double c = portable::Cos(hue);
        rOut = intensity * (1.0 + gained * c / portable::Cos(kPi / 3.0 - hue));
        gOut = 3.0 * intensity - (rOut + bOut);
    } else if (hue < 4.0 * kPi / 3.0) {
        rOut = intensity * (1.0 - gained);
        const double c = portable::Cos(hue - 2.0 * kPi / 3.0);
        gOut = intensity * (1.0 + gained * c / portable::Cos(kPi - hue));
        bOut = 3.0 * intensity - (rOut + gOut);
    } else {
        gOut = intensity * (1.0 - gained);
        const double c = portable::Cos(hue - 4.0 * kPi / 3.0);
        bOut = intensity * (1.0 + gained * c / portable::Cos(5.0 * kPi / 3.0 - hue));
        rOut = 3.0 * intensity - (gOut + bOut);
    }
    p[0] = static_cast<std::uint8_t>(ToneByte(bOut));
    p[1] = static_cast<std::uint8_t>(ToneByte(gOut));
    p[2] = static_cast<std::uint8_t>(ToneByte(rOut));
}

// In exact arithmetic the round trip keeps hue and intensity I = sum / 3 and
// scales each byte's distance from I: c' = I + (1 + percent / 100)(c - I),
// that is n / 300 with n = 100 sum + (100 + percent)(3c - sum). Unless n / 300
// lies exactly on a half step it is at least 1/300 away from every rounding
// boundary, so the HSI evaluation, whose error is many orders smaller, rounds
// it to the nearest integer. Writes the pixel and returns true in that case;
// returns false, pixel untouched, when a byte lies on a half step, where only
// the HSI evaluation's own rounding decides.
bool SaturateExactly(std::uint8_t* p, int percent) {
    const int r = p[2], g = p[1];
    const int b = GuardedBlue(p[0], p[1], p[2]);
    const int sum = r + g + b;
    const int base = 100 * sum;
    const int gain = 100 + percent;
    const int nb = base + gain * (3 * b - sum);
    const int ng = base + gain * (3 * g - sum);
    const int nr = base + gain * (3 * r - sum);
    if ((nb - 150) % 300 == 0 || (ng - 150) % 300 == 0 || (nr - 150) % 300 == 0) return false;
    const auto nearest = [](int n) { return n <= 150 ? 0 : std::min((n + 150) / 300, 255); };
    p[0] = static_cast<std::uint8_t>(nearest(nb));
    p[1] = static_cast<std::uint8_t>(nearest(ng));
    p[2] = static_cast<std::uint8_t>(nearest(nr));
    return true;
}

}  // namespace

void ColourEnhanceLinear(const CStageParams& params, std::uint8_t* rgb, int width, int height) {
    const int limit = std::max(params.CE_Linear, 0);  // a negative strength acts as 0
    const std::size_t count = PixelCount(width, height);
    for (std::size_t i = 0; i < count; ++i, rgb += 3) {
        // Keys value * 4 + position: between equal values the byte stored
        // later counts as the larger (red over green over blue).
        const int k0 = rgb[0] * 4, k1 = rgb[1] * 4 + 1, k2 = rgb[2] * 4 + 2;
        const int hiKey = std::max({k0, k1, k2});
        const int loKey = std::min({k0, k1, k2});
        const int midKey = k0 + k1 + k2 - hiKey - loKey;
        const int hi = hiKey >> 2, mid = midKey >> 2, lo = loKey >> 2;

        const int d = std::min(hi - lo, limit);
        const int half = d >> 1;
        const int gap = hi - mid;
        const int hiDelta = d - std::max(half - gap, 0);
        const int midDelta = std::max(d - gap, 0) - half;
        const int loDelta = -(hiDelta + midDelta);
        rgb[hiKey & 3] = static_cast<std::uint8_t>(std::clamp(hi + hiDelta, 0, 255));
        rgb[midKey & 3] = static_cast<std::uint8_t>(std::clamp(mid + midDelta, 0, 255));
        rgb[loKey & 3] = static_cast<std::uint8_t>(std::clamp(lo + loDelta, 0, 255));
    }
}

void ColourEnhanceSaturation(std::uint8_t* rgb, int width, int height, int saturationPercent) {
    const double s = saturationPercent * 0.01;
    const bool exact = saturationPercent >= -kExactGainLimit && saturationPercent <= kExactGainLimit;
    const std::size_t count = PixelCount(width, height);
    for (std::size_t i = 0; i < count; ++i, rgb += 3)
        if (!exact || !SaturateExactly(rgb, saturationPercent)) SaturateByHsi(rgb, s);
}
