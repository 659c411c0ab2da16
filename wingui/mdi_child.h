// Child frame of the multiple-document interface, created in a frame's
// client window. Messages it does not handle go to the child's default
// procedure, which keeps the frame's "Window" menu and activation right.
#pragma once

#include "wnd.h"

namespace wingui {

class MdiFrame;

class MdiChild : public Wnd {
public:
    // Creates the child (shown, maximised when the active one is) in the
    // frame's client window.
    bool CreateChild(MdiFrame& frame, const char* className, const char* title, HINSTANCE instance);
    MdiFrame* Frame() const { return frame_; }

protected:
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    MdiFrame* frame_ = nullptr;
};

}  // namespace wingui
