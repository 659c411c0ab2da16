// Shaded button: the nine face gradients and the centred caption.
#include "shaded_button.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace wingui {
namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// Blend of two colour channels, weight 0..256 toward b.
int Mix(int a, int b, int weight) { return a + (b - a) * weight / 256; }

}  // namespace

void ShadedButton::SetStyle(int style) {
    style_ = Clamp(style, 0, kStyleCount - 1);
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

int ShadedButton::Shade(int style, int x, int y, int width, int height) {
    const double u = width > 1 ? double(x) / (width - 1) : 0.5;   // 0..1 across
    const double v = height > 1 ? double(y) / (height - 1) : 0.5;  // 0..1 down
    const double du = std::fabs(2 * u - 1);
    const double dv = std::fabs(2 * v - 1);
    double t = 0.5;  // 0 shadow, 0.5 face, 1 highlight
    switch (Clamp(style, 0, kStyleCount - 1)) {
    case 0: {
        const std::uint32_t h = std::uint32_t(x) * 73856093u ^ std::uint32_t(y) * 19349663u;
        t = 0.5 + (double(h % 61u) - 30.0) / 300.0;
        break;
    }
    case 1: t = 1.0 - (u + v) / 2; break;
    case 2: t = 1.0 - u; break;
    case 3: t = 1.0 - v; break;
    case 4: t = 1.0 - dv; break;
    case 5: t = 1.0 - du; break;
    case 6: t = 1.0 - (du * du + dv * dv) / 2; break;
    case 7: t = 1.0 - (du > dv ? du : dv); break;
    case 8: t = 0.55 + 0.2 * std::cos(u * 6.0 * 3.14159265358979) - 0.1 * v; break;
    }
    return Clamp(int(t * 256 + 0.5), 0, 256);
}

void ShadedButton::DrawBackground(HDC dc, const RECT& rect, bool pressed) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    const COLORREF colours[3] = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT)};

    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int shade = Shade(style_, x, y, width, height);
            if (pressed) shade = 256 - shade;
            // Shadow to face over 0..128, face to highlight over 128..256.
            const COLORREF a = shade < 128 ? colours[0] : colours[1];
            const COLORREF b = shade < 128 ? colours[1] : colours[2];
            const int w = shade < 128 ? shade * 2 : (shade - 128) * 2;
            const std::uint32_t r = std::uint32_t(Mix(GetRValue(a), GetRValue(b), w));
            const std::uint32_t g = std::uint32_t(Mix(GetGValue(a), GetGValue(b), w));
            const std::uint32_t bl = std::uint32_t(Mix(GetBValue(a), GetBValue(b), w));
            pixels[std::size_t(y) * width + x] = (r << 16) | (g << 8) | bl;
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, rect.left, rect.top, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), pixels.data(),
                      &info, DIB_RGB_COLORS);
}

void ShadedButton::DrawContent(HDC dc, const RECT& rect, bool disabled) {
    DrawCaption(dc, rect, disabled, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace wingui
