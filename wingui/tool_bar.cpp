// Tool bar over the common controls.
#include "tool_bar.h"

#include <commctrl.h>

#include <vector>

namespace wingui {

bool ToolBar::Create(HWND parent, HINSTANCE instance, int bitmapId, const int* commands, int count, int id) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    hwnd_ = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | CCS_TOP, 0, 0, 0, 0,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!hwnd_) return false;
    SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15));
    int images = 0;
    std::vector<TBBUTTON> buttons(std::size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[std::size_t(i)];
        b = TBBUTTON{};
        if (commands[i] == 0) {
            b.fsStyle = TBSTYLE_SEP;
        } else {
            b.iBitmap = images++;
            b.idCommand = commands[i];
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = TBSTYLE_BUTTON;
        }
    }
    TBADDBITMAP bitmap = {instance, UINT_PTR(bitmapId)};
    SendMessageA(hwnd_, TB_ADDBITMAP, WPARAM(images), reinterpret_cast<LPARAM>(&bitmap));
    SendMessageA(hwnd_, TB_ADDBUTTONSA, WPARAM(count), reinterpret_cast<LPARAM>(buttons.data()));
    return true;
}

void ToolBar::Show(bool shown) const {
    if (hwnd_) ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE);
}

int ToolBar::Layout() const {
    if (!hwnd_) return 0;
    SendMessageA(hwnd_, TB_AUTOSIZE, 0, 0);
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    return rect.bottom - rect.top;
}

}  // namespace wingui
