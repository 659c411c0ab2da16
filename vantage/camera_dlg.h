// The camera window: a modeless dialog from template 2000 of Lexis.DLL,
// top-level without owner. It reads its switches and makes the hide window
// when it starts; two one-shot timers follow: the deferred set-up (button
// faces, texts, labels, picture settings; every command disabled) and the
// camera check ("No Camera." when the camera does not answer; in hidden mode
// the window then closes itself). It answers device changes, the messages
// from the data source's side (1124, 1125) and Pictor's announcement (1224),
// and runs the options and information dialogs.
//
// The thumbnail view, the refresh worker and the remaining commands join
// this class later; their places are the deferred set-up and timer 1002.
#pragma once

#include <memory>

#include "dialog.h"
#include "module_hold.h"
#include "owner_draw_button.h"
#include "settings.h"
#include "ui/hide_wnd.h"

class CCameraDlg : public wingui::Dialog {
public:
    static constexpr int kCommandCount = 10;

    explicit CCameraDlg(HWND sourceWindow) : sourceWindow_(sourceWindow) {}
    ~CCameraDlg() override;
    // The window, and a reference on Vantage.dll that the window keeps until
    // it is gone: an unload by the data source, from any thread, then leaves
    // the code in place until the user has closed the window.
    bool Create();
    bool HasHideWindow() const { return hideWnd_.IsAlive(); }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnFinalMessage() override;

private:
    void DeferredSetUp();
    void SetUpButtonFaces();
    void SetUpTexts();
    void SetUpLabels();
    void CheckCamera();
    void OnDeviceChange(WPARAM event);
    void OnPictorAnnounced();
    void BringToFront();
    void EnableCommands(bool enabled);
    void ApplyTransferLock();
    void EnterNoCameraState();
    void RunOptions();
    void RunAbout();

    HWND sourceWindow_;  // remembered only: the window has no owner
    CHideWnd hideWnd_;
    CWindowSettings settings_;
    CPictureSettings pictures_;
    std::unique_ptr<wingui::OwnerDrawButton> faces_[kCommandCount];
    HICON pictorIcon_ = nullptr;
    wingui::ModuleHold libraryHold_;
};
