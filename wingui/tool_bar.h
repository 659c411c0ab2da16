// Tool bar of a frame: the common controls' tool bar with one button per
// command from a strip bitmap of 16 x 15 images (in button order; a command
// of 0 is a separator and takes no image), tool tips off.
#pragma once

#include <windows.h>

namespace wingui {

class ToolBar {
public:
    bool Create(HWND parent, HINSTANCE instance, int bitmapId, const int* commands, int count, int id);
    HWND Handle() const { return hwnd_; }
    bool IsShown() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void Show(bool shown) const;
    // Sizes itself along the parent's top edge; its height.
    int Layout() const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace wingui
