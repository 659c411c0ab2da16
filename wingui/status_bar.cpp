// Status bar over the common controls.
#include "status_bar.h"

#include <commctrl.h>

namespace wingui {
namespace {

struct KeyPane {
    int key;
    const char* text;
};
constexpr KeyPane kKeyPanes[] = {{VK_CAPITAL, "CAP"}, {VK_NUMLOCK, "NUM"}, {VK_SCROLL, "SCRL"}};
constexpr int kKeyPaneWidth = 48;

}  // namespace

bool StatusBar::Create(HWND parent, HINSTANCE instance, int id) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!hwnd_) return false;
    SetMessage("Ready");
    return true;
}

void StatusBar::Show(bool shown) const {
    if (hwnd_) ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE);
}

void StatusBar::SetMessage(const char* text) const {
    if (hwnd_) SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void StatusBar::UpdateKeys() const {
    if (!hwnd_) return;
    for (int i = 0; i < 3; ++i) {
        const bool on = (GetKeyState(kKeyPanes[i].key) & 1) != 0;
        char shown[8] = {};
        SendMessageA(hwnd_, SB_GETTEXTA, WPARAM(i + 1), reinterpret_cast<LPARAM>(shown));
        const char* wanted = on ? kKeyPanes[i].text : "";
        if (lstrcmpA(shown, wanted) != 0) SendMessageA(hwnd_, SB_SETTEXTA, WPARAM(i + 1), reinterpret_cast<LPARAM>(wanted));
    }
}

int StatusBar::Layout() const {
    if (!hwnd_) return 0;
    SendMessageA(hwnd_, WM_SIZE, 0, 0);
    RECT rect;
    GetClientRect(hwnd_, &rect);
    int edges[4];
    int right = rect.right;
    for (int i = 3; i >= 1; --i) {
        edges[i] = right;
        right -= kKeyPaneWidth;
    }
    edges[0] = right;
    SendMessageA(hwnd_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    RECT window;
    GetWindowRect(hwnd_, &window);
    return window.bottom - window.top;
}

}  // namespace wingui
