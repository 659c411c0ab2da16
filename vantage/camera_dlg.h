// The camera window: a modeless dialog from template 2000 of Lexis.DLL,
// top-level without owner. It reads its switches and makes the hide window
// when it starts; two one-shot timers follow: the deferred set-up (button
// faces, texts, labels, picture settings; every command disabled) and the
// camera check ("No Camera." when the camera does not answer; in hidden mode
// the window then closes itself). It answers device changes, the messages
// from the data source's side (1124, 1125) and Pictor's announcement (1224).
// While a video window is open it has the say: closing the camera window
// closes only the video window, and 1124 and 1125 are ignored.
// It is the switchboard: the refresh runs on the worker thread
// (twain_thread), the pictures show in the thumbnail view, and the commands
// live in units of their own: camera_refresh.cpp (refresh and the enabling
// rules), camera_commands.cpp (the ten buttons).
#pragma once

#include <memory>

#include "dialog.h"
#include "module_hold.h"
#include "settings.h"
#include "twain_thread.h"
#include "ui/button_faces.h"
#include "ui/hide_wnd.h"
#include "ui/thumbnail_view.h"
#include "ui/video_dlg.h"

class CCameraDlg : public wingui::Dialog {
public:
    static constexpr int kCommandCount = 10;
    static constexpr UINT kRefreshDelayMs = 100;

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
    void CreateView();

    // Refresh and enabling rules (camera_refresh.cpp).
    void StartRefresh();
    void OnRefreshDone(unsigned generation, LPARAM report);
    void EnableCommands(bool enabled);
    void ApplyTransferLock();
    void ApplySelectionRule(bool selected);
    void OnSelectionChanged();
    void EnterNoPicturesState();
    void EnterNoCameraState();
    void EmptyPictures();

    // Commands (camera_commands.cpp).
    WorkOrder MakeWorkOrder() const;
    void OnNextNumber(int next);
    void RunDownload();
    void RunTransfer();
    void RunDeleteAll();
    void RunOptions();
    void RunAbout();
    void OnOpenItem(int item);
    void OpenVideo();
    bool VideoOpen() const { return video_ && video_->IsOpen(); }
    int Ask(int textKey, int captionKey, UINT style);

    HWND sourceWindow_;  // remembered only: the window has no owner
    CHideWnd hideWnd_;
    CWindowSettings settings_;
    CPictureSettings pictures_;
    std::unique_ptr<CButtonFaces> faces_;
    HICON pictorIcon_ = nullptr;
    wingui::ModuleHold libraryHold_;
    std::unique_ptr<CThumbnailView> view_;
    // The last video window; its window goes when the next one opens or
    // with this window.
    std::unique_ptr<CVideoDlg> video_;
    unsigned refreshGeneration_ = 0;  // of the refresh in hand, 0 when none
};
