// Information dialog: texts and the hidden way to Prism's settings.
#include "about_dlg.h"

#include "../string_keys.h"
#include "../vantage_state.h"

namespace {

// The text lines by key order (keys 44..47).
constexpr int kLines[] = {3014, 3023, 3017, 3019};
// The click sequence.
constexpr int kSequence[] = {3019, 3014, 3017, 3023};
constexpr int kSettingsButton = 3025;

}  // namespace

bool CAboutDlg::OnInitDialog() {
    ApplyText(Handle(), kKeyAboutTitle);
    for (int i = 0; i < 4; ++i) ApplyText(Item(kLines[i]), kKeyAboutFirstLine + i);
    ApplyText(Item(IDCANCEL), kKeyAboutClose);
    return true;
}

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
    if (code == STN_CLICKED && step_ < 4 && id == kSequence[step_]) {
        if (++step_ == 4) ShowItem(kSettingsButton, true);
        return true;
    }
    if (id == kSettingsButton && code == BN_CLICKED) {
        if (step_ == 4) gVantage.prism.Setting(Handle());
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}
