// Child frame: creation through the client window, default procedure.
#include "mdi_child.h"

#include "mdi_frame.h"

namespace wingui {

bool MdiChild::CreateChild(MdiFrame& frame, const char* className, const char* title, HINSTANCE instance) {
    frame_ = &frame;
    MDICREATESTRUCTA create = {};
    create.szClass = className;
    create.szTitle = title;
    create.hOwner = instance;
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    create.lParam = reinterpret_cast<LPARAM>(this);
    Hold();
    const HWND child = reinterpret_cast<HWND>(
        SendMessageA(frame.Client(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    if (!child) ForgetWindow();
    Release(false);
    if (child) frame.UpdateMenu();
    return child != nullptr;
}

LRESULT MdiChild::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcA(Handle(), message, wParam, lParam);
}

void MdiChild::OnDestroy() {
    // Still counted as a child here: the frame looks again once it is gone.
    if (frame_ && frame_->IsAlive()) PostMessageA(frame_->Handle(), kChildFrameGone, 0, 0);
}

}  // namespace wingui
