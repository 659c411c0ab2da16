// Tuning-dialog page: creation as a child, placement, change reports.
#include "settings_page.h"

bool SettingsPage::Create(HINSTANCE module, int templateId, HWND parent, std::function<void()> onChange) {
    onChange_ = std::move(onChange);
    return CreateModeless(module, templateId, parent);
}

void SettingsPage::PlaceOver(const RECT& area) const {
    SetWindowPos(Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool SettingsPage::OnCommand(int id, int code, HWND control) {
    if (control && (code == EN_CHANGE || code == BN_CLICKED)) {
        if (onChange_) onChange_();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}
