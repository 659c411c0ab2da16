// JPEG-quality dialog: slider, value text, OK writing TWain.ini.
#include "jpeg_quality_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "dialog_ids.h"
#include "library.h"

namespace {
constexpr int kLowest = 1;
constexpr int kHighest = 100;
}  // namespace

bool JpegQualityDialog::OnInitDialog() {
    HWND slider = Item(IDC_QUALITY_SLIDER);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(kLowest, kHighest));
    // A stored value outside the range is shown as stored; the slider shows its nearest end.
    SendMessageA(slider, TBM_SETPOS, TRUE, gPrism.quality.quality);
    ShowValue(gPrism.quality.quality);
    return true;
}

bool JpegQualityDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == Item(IDC_QUALITY_SLIDER)) {
        ShowValue(SliderPosition());
        result = 0;
        return true;
    }
    return Dialog::OnMessage(message, wParam, lParam, result);
}

void JpegQualityDialog::OnOK() {
    gPrism.quality.quality = SliderPosition();
    gPrism.quality.Save(gPrism.quality.Path());
    EndDialog(IDOK);
}

void JpegQualityDialog::ShowValue(int value) const {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SetItemText(IDC_QUALITY_TEXT, text);
}

int JpegQualityDialog::SliderPosition() const {
    return int(SendMessageA(Item(IDC_QUALITY_SLIDER), TBM_GETPOS, 0, 0));
}
