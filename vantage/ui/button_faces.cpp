// Button faces from Lexis.DLL's icons and strings.
#include "ui/button_faces.h"

#include "icon_button.h"
#include "settings.h"
#include "shaded_button.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr int kIconPixels = 32;

}  // namespace

bool LexisNumber(int id, int& number) {
    char text[32] = {};
    if (LoadStringA(gVantage.lexis, UINT(id), text, sizeof text) <= 0) return false;
    number = ParseNumber(text);
    return true;
}

CButtonFaces::CButtonFaces()
    : icons_(FindResourceA(gVantage.lexis, MAKEINTRESOURCEA(kFirstButtonIcon), RT_GROUP_ICON) != nullptr) {
    LexisNumber(kShadeStyleString, style_);
}

void CButtonFaces::Attach(HWND button, int icon, int layoutString) {
    if (icons_) {
        auto face = std::make_unique<wingui::IconButton>();
        face->SetIcon(static_cast<HICON>(LoadImageA(gVantage.lexis, MAKEINTRESOURCEA(icon), IMAGE_ICON, kIconPixels,
                                                    kIconPixels, LR_DEFAULTCOLOR)));
        int layout = 0;
        if (LexisNumber(layoutString, layout)) face->SetLayout(layout);
        faces_.push_back(std::move(face));
    } else {
        auto face = std::make_unique<wingui::ShadedButton>();
        face->SetStyle(style_);
        faces_.push_back(std::move(face));
    }
    faces_.back()->Attach(button);
}
