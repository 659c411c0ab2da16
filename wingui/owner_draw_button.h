// Base of the owner-drawn buttons: takes over an existing push button (a
// dialog control), and draws its face when the parent window forwards
// WM_DRAWITEM (Wnd does): background, three-dimensional edges in the system's
// button colours, a pressed look (sunken edge, content moved by one pixel),
// the content of the derived class, a focus rectangle.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

class OwnerDrawButton {
public:
    OwnerDrawButton() = default;
    virtual ~OwnerDrawButton();
    OwnerDrawButton(const OwnerDrawButton&) = delete;
    OwnerDrawButton& operator=(const OwnerDrawButton&) = delete;

    // Makes the button owner-drawn and binds it to this object.
    bool Attach(HWND button);
    void Detach();
    HWND Handle() const { return hwnd_; }
    static OwnerDrawButton* FromHandle(HWND hwnd);

    void Draw(const DRAWITEMSTRUCT& item);

protected:
    virtual void DrawBackground(HDC dc, const RECT& rect, bool pressed);
    // Inside the edges; already moved by a pixel when pressed.
    virtual void DrawContent(HDC dc, const RECT& rect, bool disabled) = 0;

    std::string Caption() const;
    // The caption in the button's colours, embossed grey when disabled.
    void DrawCaption(HDC dc, RECT rect, bool disabled, UINT format) const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace wingui
