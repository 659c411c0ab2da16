// The faces of a Vantage window's command buttons, the same for every
// window: when Lexis.DLL holds the first button icon (11), each button
// becomes an icon button with its own icon and the layout number of a
// Lexis.DLL string (numbers outside 0..3 are ignored); otherwise a shaded
// button in the style of Lexis.DLL string 100 (clamped to 0..8).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "owner_draw_button.h"

// A Lexis.DLL string read as a number; false when it holds none.
bool LexisNumber(int id, int& number);

class CButtonFaces {
public:
    CButtonFaces();
    // Gives `button` its face: icon `icon` of Lexis.DLL placed by string
    // `layoutString`, or the shaded face.
    void Attach(HWND button, int icon, int layoutString);

private:
    bool icons_;
    int style_ = 0;
    std::vector<std::unique_ptr<wingui::OwnerDrawButton>> faces_;
};
