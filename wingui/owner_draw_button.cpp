// Owner-drawn button base: binding to the control, edges, pressed look, focus.
#include "owner_draw_button.h"

namespace wingui {
namespace {

constexpr const char* kButtonProperty = "wingui.OwnerDrawButton";

}  // namespace

OwnerDrawButton::~OwnerDrawButton() { Detach(); }

bool OwnerDrawButton::Attach(HWND button) {
    Detach();
    if (!button) return false;
    hwnd_ = button;
    SetPropA(button, kButtonProperty, this);
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

void OwnerDrawButton::Detach() {
    if (hwnd_ && IsWindow(hwnd_)) RemovePropA(hwnd_, kButtonProperty);
    hwnd_ = nullptr;
}

OwnerDrawButton* OwnerDrawButton::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<OwnerDrawButton*>(GetPropA(hwnd, kButtonProperty)) : nullptr;
}

void OwnerDrawButton::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const int saved = SaveDC(dc);
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0))) SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);

    RECT rect = item.rcItem;
    DrawBackground(dc, rect, pressed);
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (pressed) OffsetRect(&rect, 1, 1);
    DrawContent(dc, rect, disabled);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    RestoreDC(dc, saved);
}

void OwnerDrawButton::DrawBackground(HDC dc, const RECT& rect, bool) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
}

std::string OwnerDrawButton::Caption() const {
    if (!hwnd_) return {};
    std::string text(std::size_t(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(hwnd_, text.data(), int(text.size()))));
    return text;
}

void OwnerDrawButton::DrawCaption(HDC dc, RECT rect, bool disabled, UINT format) const {
    const std::string text = Caption();
    if (disabled) {
        // Embossed: a light copy one pixel down and right under the grey one.
        RECT light = rect;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), int(text.size()), &light, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextA(dc, text.c_str(), int(text.size()), &rect, format);
}

}  // namespace wingui
