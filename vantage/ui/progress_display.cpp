// Progress bar and label by messages to their handles.
#include "ui/progress_display.h"

#include <commctrl.h>

#include <cstdio>

#include "string_keys.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr UINT kLabelTimeoutMs = 1000;
constexpr const char* kCountFormat = "%s (%d/%d)";  // caption, done, total

}  // namespace

CProgressDisplay CProgressDisplay::OfProgressDialog(HWND dialog) {
    return CProgressDisplay(GetDlgItem(dialog, kProgressBar), GetDlgItem(dialog, kProgressLabel),
                            gVantage.strings.Text(kKeyProgressLabel));
}

void CProgressDisplay::StartBar(int total) const {
    PostMessageA(bar_, PBM_SETRANGE32, 0, LPARAM(total));
    SetBar(0);
}

void CProgressDisplay::SetBar(int position) const { PostMessageA(bar_, PBM_SETPOS, WPARAM(position), 0); }

void CProgressDisplay::StepBar() const { PostMessageA(bar_, PBM_DELTAPOS, 1, 0); }

void CProgressDisplay::ShowCount(int done, int total) const {
    if (!label_ || CStringsFile::Keeps(caption_)) return;
    char text[320];  // a caption of at most 259 characters and two counts
    std::snprintf(text, sizeof text, kCountFormat, caption_.c_str(), done, total);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(label_, WM_SETTEXT, 0, LPARAM(text), SMTO_BLOCK | SMTO_ABORTIFHUNG, kLabelTimeoutMs, &ignored);
}

ClipFrameWritten CProgressDisplay::ClipSteps(bool labels) const {
    const CProgressDisplay display = *this;
    return [display, labels](int done, int total) {
        display.StepBar();
        if (labels) display.ShowCount(done, total);
    };
}
