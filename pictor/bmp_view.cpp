// CBmpView: drawing.
#include "bmp_view.h"

#include "bmp_doc.h"

namespace {

constexpr SIZE kScrollArea = {640, 480};
constexpr int kViewId = 0xE900;  // the first pane of a child frame

}  // namespace

bool CBmpView::CreateIn(HWND childFrame) {
    RECT client;
    GetClientRect(childFrame, &client);
    if (!CreateView(childFrame, client, kViewId)) return false;
    SetScrollSizes(kScrollArea);
    return true;
}

void CBmpView::OnDraw(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    // The client area in content coordinates (the origin follows the scroll position).
    OffsetRect(&client, ScrollPosition().x, ScrollPosition().y);
    const HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    const CPackedDib* dib = document_.Dib();
    if (!dib) {
        // Nothing erases the background: an empty document shows white.
        FillRect(dc, &client, white);
        return;
    }
    const int width = dib->Width();
    const int height = dib->Height();
    if (width < client.right) {
        const RECT right = {width, client.top, client.right, height > client.bottom ? height : client.bottom};
        FillRect(dc, &right, white);
    }
    if (height < client.bottom) {
        const RECT below = {client.left, height, width > client.right ? width : client.right, client.bottom};
        FillRect(dc, &below, white);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    SetDIBitsToDevice(dc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), dib->Bits(),
                      reinterpret_cast<const BITMAPINFO*>(dib->Data()), DIB_RGB_COLORS);
}

bool CBmpView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_ERASEBKGND) {
        result = 1;
        return true;
    }
    return ScrollView::OnMessage(message, wParam, lParam, result);
}
