// A page of the tuning dialog: a frameless child dialog placed over an area
// of the main dialog. Every edit and every click in it counts as a change,
// which the page reports to the main dialog.
#pragma once

#include <functional>

#include "dialog.h"

class SettingsPage : public wingui::Dialog {
public:
    bool Create(HINSTANCE module, int templateId, HWND parent, std::function<void()> onChange);
    // Places the page over `area` (the parent's client pixels) and shows it.
    void PlaceOver(const RECT& area) const;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    // Enter and Escape belong to the main dialog, never to a page.
    void OnOK() override {}
    void OnCancel() override {}

private:
    std::function<void()> onChange_;
};
