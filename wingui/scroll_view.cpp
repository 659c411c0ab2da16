// Scroll view: scroll bars from the total size and the client size, the
// scroll requests of both bars and of the mouse wheel, painting through OnDraw.
#include "scroll_view.h"

namespace wingui {
namespace {

constexpr const char* kViewClass = "wingui.ScrollView";

HINSTANCE OwnInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnInstance), &module);
    return module;
}

bool RegisterViewClass() {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(OwnInstance(), kViewClass, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.style = CS_DBLCLKS;
    wc.hInstance = OwnInstance();
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kViewClass;
    return Wnd::RegisterWindowClass(wc) != 0;
}

int Larger(int a, int b) { return a > b ? a : b; }

}  // namespace

bool ScrollView::CreateView(HWND parent, const RECT& rect, int id) {
    if (!RegisterViewClass()) return false;
    return Create(WS_EX_CLIENTEDGE, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN,
                  rect, parent, OwnInstance(), id);
}

void ScrollView::UnregisterViewClass() { UnregisterClassA(kViewClass, OwnInstance()); }

void ScrollView::SetScrollSizes(SIZE total, SIZE page, SIZE line) {
    total_ = {Larger(total.cx, 0), Larger(total.cy, 0)};
    page_ = {page.cx > 0 ? page.cx : total_.cx / 10, page.cy > 0 ? page.cy : total_.cy / 10};
    line_ = {line.cx > 0 ? line.cx : page_.cx / 10, line.cy > 0 ? line.cy : page_.cy / 10};
    UpdateBars();
    ScrollTo(position_);
}

int ScrollView::Limit(int bar) const {
    RECT client;
    GetClientRect(Handle(), &client);
    const int visible = bar == SB_HORZ ? client.right : client.bottom;
    const int total = bar == SB_HORZ ? total_.cx : total_.cy;
    return Larger(total - visible, 0);
}

void ScrollView::ScrollTo(POINT position) {
    if (!IsAlive()) return;
    POINT target = {position.x, position.y};
    if (target.x > Limit(SB_HORZ)) target.x = Limit(SB_HORZ);
    if (target.y > Limit(SB_VERT)) target.y = Limit(SB_VERT);
    if (target.x < 0) target.x = 0;
    if (target.y < 0) target.y = 0;
    const int dx = position_.x - target.x;
    const int dy = position_.y - target.y;
    position_ = target;
    if (dx || dy) ScrollWindowEx(Handle(), dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    SetScrollPos(Handle(), SB_HORZ, position_.x, TRUE);
    SetScrollPos(Handle(), SB_VERT, position_.y, TRUE);
}

void ScrollView::UpdateBars() {
    if (!IsAlive()) return;
    // Twice: a bar that appears narrows the client area, which can call for the other bar.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        GetClientRect(Handle(), &client);
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = total_.cx > 0 ? total_.cx - 1 : 0;
        info.nPage = UINT(client.right);  // a page that covers the range hides the bar
        SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        info.nMax = total_.cy > 0 ? total_.cy - 1 : 0;
        info.nPage = UINT(client.bottom);
        SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    }
}

void ScrollView::OnScroll(int bar, int request) {
    const bool horizontal = bar == SB_HORZ;
    const int page = horizontal ? page_.cx : page_.cy;
    const int line = horizontal ? line_.cx : line_.cy;
    int pos = horizontal ? position_.x : position_.y;
    switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = Limit(bar); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), bar, &info);
        pos = info.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(horizontal ? POINT{pos, position_.y} : POINT{position_.x, pos});
}

bool ScrollView::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        SetViewportOrgEx(dc, -position_.x, -position_.y, nullptr);
        OnDraw(dc);
        EndPaint(Handle(), &paint);
        return true;
    }
    case WM_SIZE:
        UpdateBars();
        ScrollTo(position_);
        return false;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wParam));
        return true;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        ScrollTo({position_.x, position_.y - notches * 3 * (line_.cy > 0 ? line_.cy : 1)});
        return true;
    }
    }
    return false;
}

}  // namespace wingui
