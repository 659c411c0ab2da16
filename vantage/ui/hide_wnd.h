// The hide window: an invisible pop-up of class "VEXA_TWain_HideWnd" that
// exists while a camera window does, so that other processes (a later
// OpenVantage, Pictor) can find the camera window and talk to it:
//   1224  Pictor announces itself: forwarded (posted) to the camera window
//   1225  restore the camera window
//   1226  close it: first every modal dialog Vantage runs (IDCANCEL, then a
//         look again a second later), then the camera window itself
#pragma once

#include "wnd.h"

class CHideWnd : public wingui::Wnd {
public:
    // The class: global, arrow cursor, no background, icon or menu.
    static bool RegisterHideClass(HINSTANCE instance);
    static void UnregisterHideClass(HINSTANCE instance);

    // At (0, 0), 50 × 50, no owner, hidden.
    bool CreateHidden(HINSTANCE instance, HWND cameraWindow);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnTimer(UINT_PTR id) override;

private:
    void CloseRequest();

    HWND cameraWindow_ = nullptr;
};
