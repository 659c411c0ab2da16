// Window object bound to its HWND: binding, message dispatch, lifetime.
#include "wnd.h"

#include "owner_draw_button.h"

namespace wingui {
namespace {

constexpr const char* kBindingProperty = "wingui.Wnd";

}  // namespace

Wnd::~Wnd() {
    if (!hwnd_) return;
    // The object goes first: unbind, so that the window's last messages find
    // no object, then take the window down.
    const HWND hwnd = hwnd_;
    RemovePropA(hwnd, kBindingProperty);
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
}

Wnd* Wnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Wnd*>(GetPropA(hwnd, kBindingProperty)) : nullptr;
}

bool Wnd::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ && PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
}

LRESULT Wnd::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageA(hwnd_, message, wParam, lParam) : 0;
}

void Wnd::StartTimer(UINT_PTR id, UINT milliseconds) const {
    if (hwnd_) SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Wnd::StopTimer(UINT_PTR id) const {
    if (hwnd_) KillTimer(hwnd_, id);
}

void Wnd::Destroy() const {
    if (hwnd_) DestroyWindow(hwnd_);
}

ATOM Wnd::RegisterWindowClass(WNDCLASSEXA windowClass) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    return RegisterClassExA(&windowClass);
}

bool Wnd::Create(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                 HWND parent, HINSTANCE instance, int id) {
    Hold();
    const HWND hwnd = CreateWindowExA(exStyle, className, title, style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    if (!hwnd) ForgetWindow();
    Release(false);
    return hwnd != nullptr;
}

bool Wnd::OnCommand(int, int, HWND) { return false; }
void Wnd::OnTimer(UINT_PTR) {}
void Wnd::OnDestroy() {}
bool Wnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
LRESULT Wnd::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}
void Wnd::OnFinalMessage() {}

bool Wnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        OnTimer(wParam);
        return true;
    case WM_DRAWITEM: {
        // Owner-drawn buttons draw themselves.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (OwnerDrawButton* button = OwnerDrawButton::FromHandle(item->hwndItem)) {
            button->Draw(*item);
            result = TRUE;
            return true;
        }
        break;
    }
    case WM_DESTROY:
        OnDestroy();
        return false;  // the default handling goes on
    }
    return OnMessage(message, wParam, lParam, result);
}

void Wnd::Bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, kBindingProperty, this);
}

void Wnd::Release(bool windowGone) {
    if (windowGone && hwnd_) {
        RemovePropA(hwnd_, kBindingProperty);
        hwnd_ = nullptr;
        finalDue_ = true;
    }
    if (--depth_ == 0 && finalDue_) {
        finalDue_ = false;
        OnFinalMessage();
    }
}

void Wnd::ForgetWindow() {
    if (hwnd_) RemovePropA(hwnd_, kBindingProperty);
    hwnd_ = nullptr;
    finalDue_ = false;
}

LRESULT CALLBACK Wnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        // A child of the multiple-document interface gets its creation
        // argument through the client window's structure.
        void* param = create->lpCreateParams;
        if (param && (create->dwExStyle & WS_EX_MDICHILD))
            param = reinterpret_cast<void*>(static_cast<MDICREATESTRUCTA*>(param)->lParam);
        if (auto* self = static_cast<Wnd*>(param)) self->Bind(hwnd);
    }
    Wnd* self = FromHandle(hwnd);
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    self->Hold();
    LRESULT result = 0;
    if (!self->Dispatch(message, wParam, lParam, result)) result = self->DefaultHandling(message, wParam, lParam);
    self->Release(message == WM_NCDESTROY);
    return result;
}

}  // namespace wingui
