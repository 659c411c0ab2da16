// Owner-drawn button with an icon beside its caption. The layout number
// places the icon: 0 above the caption, 1 left of it, 2 right of it, 3 below
// it. A disabled button shows a greyed copy of the icon (made once, when the
// icon is set) and an embossed caption.
#pragma once

#include "owner_draw_button.h"

namespace wingui {

class IconButton : public OwnerDrawButton {
public:
    enum Layout { kIconAbove = 0, kIconLeft = 1, kIconRight = 2, kIconBelow = 3 };

    ~IconButton() override;
    // Takes the icon over (destroys it with the button).
    void SetIcon(HICON icon);
    // Numbers outside 0..3 are ignored; false then.
    bool SetLayout(int layout);
    int GetLayout() const { return layout_; }

protected:
    void DrawContent(HDC dc, const RECT& rect, bool disabled) override;

private:
    HICON icon_ = nullptr;
    HICON greyIcon_ = nullptr;
    SIZE iconSize_ = {0, 0};
    int layout_ = kIconAbove;
};

}  // namespace wingui
