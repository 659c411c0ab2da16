// Icon button: places the icon and the caption by the layout number.
#include "icon_button.h"

namespace wingui {
namespace {

constexpr int kGap = 3;  // pixels between icon and caption

SIZE IconSize(HICON icon) {
    SIZE size = {0, 0};
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info)) return size;
    BITMAP bitmap;
    if (GetObjectA(info.hbmMask, sizeof bitmap, &bitmap)) {
        size.cx = bitmap.bmWidth;
        // A monochrome icon keeps its two masks one above the other.
        size.cy = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return size;
}

// A pale grey copy of a colour icon with the same shape; null when the icon
// has no 32-bit colour image to copy.
HICON GreyCopy(HICON icon, SIZE size) {
    ICONINFO info;
    if (!icon || size.cx <= 0 || size.cy <= 0 || !GetIconInfo(icon, &info)) return nullptr;
    HICON grey = nullptr;
    if (info.hbmColor) {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = size.cx;
        format.bmiHeader.biHeight = -size.cy;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HBITMAP copy = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (copy && GetDIBits(screen, info.hbmColor, 0, UINT(size.cy), bits, &format, DIB_RGB_COLORS)) {
            auto* px = static_cast<unsigned char*>(bits);
            for (long i = 0; i < long(size.cx) * size.cy; ++i, px += 4) {
                // Luminance, lifted towards white; alpha stays.
                const int luminance = (px[2] * 77 + px[1] * 150 + px[0] * 29) >> 8;
                px[0] = px[1] = px[2] = static_cast<unsigned char>(110 + luminance * 120 / 255);
            }
            ICONINFO greyInfo = {TRUE, 0, 0, info.hbmMask, copy};
            grey = CreateIconIndirect(&greyInfo);
        }
        if (copy) DeleteObject(copy);
        ReleaseDC(nullptr, screen);
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return grey;
}

}  // namespace

IconButton::~IconButton() { SetIcon(nullptr); }

void IconButton::SetIcon(HICON icon) {
    if (icon_) DestroyIcon(icon_);
    if (greyIcon_) DestroyIcon(greyIcon_);
    icon_ = icon;
    iconSize_ = IconSize(icon);
    greyIcon_ = GreyCopy(icon, iconSize_);
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

bool IconButton::SetLayout(int layout) {
    if (layout < kIconAbove || layout > kIconBelow) return false;
    layout_ = layout;
    return true;
}

void IconButton::DrawContent(HDC dc, const RECT& rect, bool disabled) {
    const std::string caption = Caption();
    RECT measured = {0, 0, 0, 0};
    if (!caption.empty()) DrawTextA(dc, caption.c_str(), int(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    const int textWidth = measured.right;
    const int textHeight = measured.bottom;
    const int iconWidth = icon_ ? iconSize_.cx : 0;
    const int iconHeight = icon_ ? iconSize_.cy : 0;
    const int gap = icon_ && !caption.empty() ? kGap : 0;
    const bool vertical = layout_ == kIconAbove || layout_ == kIconBelow;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;

    // Top-left corners of icon and caption, the pair centred in the rectangle.
    POINT iconAt, textAt;
    if (vertical) {
        const int top = rect.top + (height - (iconHeight + gap + textHeight)) / 2;
        iconAt.x = rect.left + (width - iconWidth) / 2;
        textAt.x = rect.left + (width - textWidth) / 2;
        iconAt.y = layout_ == kIconAbove ? top : top + textHeight + gap;
        textAt.y = layout_ == kIconAbove ? top + iconHeight + gap : top;
    } else {
        const int left = rect.left + (width - (iconWidth + gap + textWidth)) / 2;
        iconAt.y = rect.top + (height - iconHeight) / 2;
        textAt.y = rect.top + (height - textHeight) / 2;
        iconAt.x = layout_ == kIconLeft ? left : left + textWidth + gap;
        textAt.x = layout_ == kIconLeft ? left + iconWidth + gap : left;
    }

    if (icon_) {
        if (disabled && greyIcon_)
            DrawIconEx(dc, iconAt.x, iconAt.y, greyIcon_, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
        else if (disabled)
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon_), 0, iconAt.x, iconAt.y, iconWidth,
                       iconHeight, DST_ICON | DSS_DISABLED);
        else
            DrawIconEx(dc, iconAt.x, iconAt.y, icon_, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
    }
    if (!caption.empty()) {
        RECT textRect = {textAt.x, textAt.y, textAt.x + textWidth, textAt.y + textHeight};
        DrawCaption(dc, textRect, disabled, DT_SINGLELINE | DT_NOPREFIX);
    }
}

}  // namespace wingui
