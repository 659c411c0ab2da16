// CEnlargeDlg: the enlarged view of one picture item, a modal dialog from
// template 2002 of Lexis.DLL (the progress dialog's). While the worker
// prepares the item (thread message 1127, answered by 1324) the window shows
// a progress bar; then a still is shown at full size, the window centred on
// the screen around it, or a clip opens in a media-control window.
//
// A hidden extension for developers: Alt+Ctrl with a right click on a still
// adds "Open RawFile" (system command 32: a raw frame file from disk is
// developed and shown) and "AurelIP" (16: Prism's tuning dialog with this
// window as its owner) to the system menu. Prism's settings-changed message
// 1347 develops the shown frame again.
//
// The still is painted from a 24-bit device-independent section; the part
// of the client area right of it and below it is white. Closing deletes the
// temporary AVI file of a clip.
#pragma once

#include "dialog.h"
#include "twain_thread.h"

class CEnlargeDlg : public wingui::Dialog {
public:
    explicit CEnlargeDlg(int item) : item_(item) {}

protected:
    bool OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnCancel() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnPrepared();
    void OpenClip();
    // The window around a client area of width x height, centred on the screen.
    void FitAndCentre(int width, int height);
    void Paint();
    void OnRightButton(WPARAM keys);
    bool OnSysCommand(WPARAM command);
    void OpenRawFile();
    // Develops the held frame and shows the result; nothing changes when
    // the development fails.
    void Develop();
    void CloseClip();

    int item_;
    bool prepared_ = false;
    CEnlargedItem shown_;
    HWND media_ = nullptr;
    bool aviOpen_ = false;
    bool menuExtended_ = false;
};
