// Status bar of a frame: a stretching message pane and the key-state panes
// "CAP", "NUM" and "SCRL", each showing its text while its key is on.
#pragma once

#include <windows.h>

namespace wingui {

class StatusBar {
public:
    bool Create(HWND parent, HINSTANCE instance, int id);
    HWND Handle() const { return hwnd_; }
    bool IsShown() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void Show(bool shown) const;
    void SetMessage(const char* text) const;
    // Reads the three keys' states into their panes.
    void UpdateKeys() const;
    // Sizes itself along the parent's bottom edge; its height.
    int Layout() const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace wingui
