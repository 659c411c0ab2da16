// Frame of the multiple-document interface: client window, menus, layout.
#include "mdi_frame.h"

#include "status_bar.h"
#include "tool_bar.h"

namespace wingui {
namespace {

// Identifiers of the child frames in the "Window" menu start here, above
// every command identifier.
constexpr UINT kFirstChildId = 0xFF00;

}  // namespace

bool MdiFrame::CreateFrame(const char* className, const char* title, DWORD style, const FrameMenus& menus,
                           HINSTANCE instance) {
    menus_ = menus;
    Hold();
    const HWND frame = CreateWindowExA(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, nullptr, menus.frame, instance, this);
    if (!frame) {
        ForgetWindow();
        Release(false);
        return false;
    }
    shownMenu_ = menus.frame;
    CLIENTCREATESTRUCT clientInfo = {};
    clientInfo.hWindowMenu = nullptr;
    clientInfo.idFirstChild = kFirstChildId;
    client_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                              WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0, frame,
                              nullptr, instance, &clientInfo);
    Release(false);
    if (!client_) {
        Destroy();
        return false;
    }
    RecalcLayout();
    return true;
}

HWND MdiFrame::ActiveChild() const {
    return client_ ? reinterpret_cast<HWND>(SendMessageA(client_, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

int MdiFrame::ChildCount() const {
    int count = 0;
    for (HWND child = client_ ? GetWindow(client_, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindow(child, GW_OWNER) == nullptr) ++count;  // icon titles of minimised children are owned
    return count;
}

void MdiFrame::UpdateMenu() {
    if (!client_) return;
    const bool children = ChildCount() > 0 && menus_.child;
    const HMENU wanted = children ? menus_.child : menus_.frame;
    const HMENU windowMenu = children && menus_.childWindowMenu >= 0 ? GetSubMenu(menus_.child, menus_.childWindowMenu)
                                                                     : nullptr;
    if (wanted == shownMenu_) return;
    SendMessageA(client_, WM_MDISETMENU, reinterpret_cast<WPARAM>(wanted), reinterpret_cast<LPARAM>(windowMenu));
    shownMenu_ = wanted;
    DrawMenuBar(Handle());
}

void MdiFrame::SetBars(ToolBar* toolBar, StatusBar* statusBar) {
    toolBar_ = toolBar;
    statusBar_ = statusBar;
    RecalcLayout();
}

void MdiFrame::RecalcLayout() {
    if (!IsAlive() || !client_) return;
    RECT area;
    GetClientRect(Handle(), &area);
    if (toolBar_ && toolBar_->IsShown()) area.top += toolBar_->Layout();
    if (statusBar_ && statusBar_->IsShown()) area.bottom -= statusBar_->Layout();
    MoveWindow(client_, area.left, area.top, area.right - area.left,
               area.bottom > area.top ? area.bottom - area.top : 0, TRUE);
}

bool MdiFrame::PreTranslateMessage(MSG& msg) {
    if (client_ && TranslateMDISysAccel(client_, &msg)) return true;
    return accelerators_ && IsAlive() && TranslateAcceleratorA(Handle(), accelerators_, &msg);
}

bool MdiFrame::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == kChildFrameGone) {
        UpdateMenu();
        return true;
    }
    if (message == WM_SIZE) {
        // The frame's default procedure would size the client over the whole area.
        RecalcLayout();
        result = 0;
        return true;
    }
    return false;
}

LRESULT MdiFrame::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcA(Handle(), client_, message, wParam, lParam);
}

}  // namespace wingui
