// Main frame of the multiple-document interface: a top-level window with the
// client window that holds the child frames, an optional tool bar above and
// status bar below it, the frame's own menu and the menu shown while a child
// frame is open (each with its "Window" menu, where the system lists the
// children). Messages it does not handle go to the frame's default procedure.
#pragma once

#include "wnd.h"

namespace wingui {

// Posted by a child frame that is being destroyed: the frame then counts its
// children again (messages of this layer start at WM_APP + 0x300).
constexpr UINT kChildFrameGone = WM_APP + 0x300;

class ToolBar;
class StatusBar;

struct FrameMenus {
    HMENU frame = nullptr;         // shown while no child frame is open
    HMENU child = nullptr;         // shown while one is
    int childWindowMenu = -1;      // position of "Window" in the child menu
};

class MdiFrame : public Wnd {
public:
    // Creates the frame window (not shown) and its client window.
    bool CreateFrame(const char* className, const char* title, DWORD style, const FrameMenus& menus,
                     HINSTANCE instance);
    HWND Client() const { return client_; }
    // The active child frame, null when none.
    HWND ActiveChild() const;
    int ChildCount() const;
    // Child frames call this when they come and go: the menu follows.
    void UpdateMenu();
    // The bars are laid out around the client window; null for none.
    void SetBars(ToolBar* toolBar, StatusBar* statusBar);
    void RecalcLayout();
    void SetAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }
    // The message loop's hook: true when the message was handled here
    // (child-frame keys, accelerators).
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND client_ = nullptr;
    FrameMenus menus_;
    HMENU shownMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    ToolBar* toolBar_ = nullptr;
    StatusBar* statusBar_ = nullptr;
};

}  // namespace wingui
