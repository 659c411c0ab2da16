// Scrolling child window. The owner sets the total size of the contents and
// the page and line steps (pixels); the view keeps the scroll bars, scrolls
// its child windows along, and draws through OnDraw with the device origin
// moved so that content coordinates can be used as they are. A scroll bar
// shows only while the contents are larger than the client area.
#pragma once

#include "wnd.h"

namespace wingui {

class ScrollView : public Wnd {
public:
    // Creates the view as a child of `parent` over `rect` (parent client pixels).
    bool CreateView(HWND parent, const RECT& rect, int id);
    // A step of 0 takes the default: a tenth of the total for a page, a tenth
    // of the page for a line.
    void SetScrollSizes(SIZE total, SIZE page = {0, 0}, SIZE line = {0, 0});
    // Clamped to the contents; scrolls the children and the picture.
    void ScrollTo(POINT position);
    POINT ScrollPosition() const { return position_; }
    SIZE TotalSize() const { return total_; }

    // The window class, registered on the first CreateView; a library that
    // unloads takes it away here.
    static void UnregisterViewClass();

protected:
    // Paints the contents; the device origin is already moved by the scroll position.
    virtual void OnDraw(HDC dc) = 0;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void UpdateBars();
    void OnScroll(int bar, int request);
    int Limit(int bar) const;

    SIZE total_ = {0, 0};
    SIZE page_ = {0, 0};
    SIZE line_ = {0, 0};
    POINT position_ = {0, 0};
};

}  // namespace wingui
