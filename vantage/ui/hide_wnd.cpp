// Hide window: class, creation, the three messages from other processes.
#include "hide_wnd.h"

#include "../vantage_ids.h"
#include "../vantage_state.h"

namespace {

// While a modal dialog is asked to close: look again after this long.
constexpr UINT_PTR kTimerModalGone = 1;
constexpr UINT kModalRetryMs = 1000;

}  // namespace

bool CHideWnd::RegisterHideClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kHideWndClass;
    return RegisterWindowClass(wc) != 0;
}

void CHideWnd::UnregisterHideClass(HINSTANCE instance) { UnregisterClassA(kHideWndClass, instance); }

bool CHideWnd::CreateHidden(HINSTANCE instance, HWND cameraWindow) {
    cameraWindow_ = cameraWindow;
    const RECT rect = {0, 0, 50, 50};
    if (!Create(0, kHideWndClass, kHideWndClass, WS_POPUP, rect, nullptr, instance)) return false;
    ShowWindow(Handle(), SW_HIDE);
    return true;
}

bool CHideWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kMsgPictorHello:
        PostMessageA(cameraWindow_, message, wParam, lParam);
        break;
    case kMsgRestore:
        ShowWindow(cameraWindow_, SW_RESTORE);
        break;
    case kMsgCloseRequest:
        CloseRequest();
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

// The wait between looks at the modal dialog is a timer, not a sleep: the
// dialog runs on this same thread and must get its IDCANCEL processed.
void CHideWnd::CloseRequest() {
    if (gVantage.modal.Running()) {
        if (HWND modal = gVantage.modal.CurrentWindow()) PostMessageA(modal, WM_COMMAND, IDCANCEL, 0);
        StartTimer(kTimerModalGone, kModalRetryMs);
        return;
    }
    PostMessageA(cameraWindow_, WM_COMMAND, IDCANCEL, 0);
}

void CHideWnd::OnTimer(UINT_PTR id) {
    if (id != kTimerModalGone) return;
    StopTimer(id);
    CloseRequest();
}
