// Dialog from a template in a given module: creation, the dialog procedure's
// result rules, control access.
#include "dialog.h"

namespace wingui {
namespace {

// Messages whose dialog-procedure result is the message's own result rather
// than a handled flag (the result then goes to DWLP_MSGRESULT).
bool ReturnsResultDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

}  // namespace

bool Dialog::CreateModeless(HINSTANCE module, int templateId, HWND parent) {
    modal_ = false;
    Hold();
    const HWND hwnd = CreateDialogParamA(module, MAKEINTRESOURCEA(templateId), parent, DialogProc,
                                         reinterpret_cast<LPARAM>(this));
    if (!hwnd) ForgetWindow();
    Release(false);
    return hwnd != nullptr;
}

INT_PTR Dialog::RunModal(HINSTANCE module, int templateId, HWND parent) {
    modal_ = true;
    Hold();
    const INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), parent, DialogProc,
                                           reinterpret_cast<LPARAM>(this));
    ForgetWindow();  // a modal dialog's object belongs to its runner, not to the window
    Release(false);
    return result;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!IsAlive()) return;
    if (modal_)
        ::EndDialog(Handle(), result);
    else
        DestroyWindow(Handle());
}

HWND Dialog::Item(int id) const { return IsAlive() ? GetDlgItem(Handle(), id) : nullptr; }

void Dialog::SetItemText(int id, const char* text) const {
    if (HWND item = Item(id)) SetWindowTextA(item, text);
}

std::string Dialog::ItemText(int id) const {
    HWND item = Item(id);
    if (!item) return {};
    std::string text(std::size_t(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(std::size_t(GetWindowTextA(item, text.data(), int(text.size()))));
    return text;
}

void Dialog::SetCheck(int id, bool checked) const {
    if (HWND item = Item(id)) SendMessageA(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Dialog::IsChecked(int id) const {
    HWND item = Item(id);
    return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Dialog::EnableItem(int id, bool enabled) const {
    if (HWND item = Item(id)) EnableWindow(item, enabled);
}

bool Dialog::IsItemEnabled(int id) const {
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

void Dialog::ShowItem(int id, bool shown) const {
    if (HWND item = Item(id)) ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
}

bool Dialog::IsItemVisible(int id) const {
    HWND item = Item(id);
    return item && (GetWindowLongPtrA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT Dialog::ItemRect(int id) const {
    RECT rect = {};
    if (HWND item = Item(id)) {
        GetWindowRect(item, &rect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

void Dialog::MoveItem(int id, int left, int top) const {
    if (HWND item = Item(id)) SetWindowPos(item, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Dialog::ResizeItem(int id, int width, int height) const {
    if (HWND item = Item(id))
        SetWindowPos(item, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Dialog::OnInitDialog() { return true; }
void Dialog::OnOK() { EndDialog(IDOK); }
void Dialog::OnCancel() { EndDialog(IDCANCEL); }

bool Dialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_INITDIALOG) {
        result = OnInitDialog() ? TRUE : FALSE;
        return true;
    }
    return Wnd::Dispatch(message, wParam, lParam, result);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) reinterpret_cast<Dialog*>(lParam)->Bind(hwnd);
    // Only dialogs bind through this procedure.
    auto* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (!self) return FALSE;
    self->Hold();
    LRESULT result = 0;
    const bool handled = self->Dispatch(message, wParam, lParam, result);
    INT_PTR answer = FALSE;
    if (handled && ReturnsResultDirectly(message)) {
        answer = INT_PTR(result);
    } else if (handled) {
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        answer = TRUE;
    }
    self->Release(message == WM_NCDESTROY);
    return answer;
}

}  // namespace wingui
