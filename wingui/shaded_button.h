// Owner-drawn button on a shaded face: a gradient built from the system's
// button colours (shadow, face, highlight) in one of nine styles, inverted
// while pressed, with the caption centred on it.
//   0 grain        fine irregular grain around the face colour
//   1 diagonal     light at the top-left corner, dark at the bottom-right
//   2 across       light on the left, dark on the right
//   3 down         light at the top, dark at the bottom
//   4 ridge        a light horizontal ridge through the middle
//   5 column       a light vertical ridge through the middle
//   6 dome         light at the centre, fading round to the edges
//   7 pyramid      light at the centre, straight slopes to the edges
//   8 brushed      vertical bands, as brushed metal
#pragma once

#include "owner_draw_button.h"

namespace wingui {

class ShadedButton : public OwnerDrawButton {
public:
    static constexpr int kStyleCount = 9;

    // Numbers outside 0..8 are clamped.
    void SetStyle(int style);
    int GetStyle() const { return style_; }

    // Shade of the face at (x, y) of a width × height button, from 0 (shadow
    // colour) through 128 (face colour) to 256 (highlight colour).
    static int Shade(int style, int x, int y, int width, int height);

protected:
    void DrawBackground(HDC dc, const RECT& rect, bool pressed) override;
    void DrawContent(HDC dc, const RECT& rect, bool disabled) override;

private:
    int style_ = 0;
};

}  // namespace wingui
