// CMainFrame: Pictor's multiple-document frame. Hidden at start, it holds the
// tool bar, the status bar, the TWAIN connection (whose images become
// documents that save themselves) and the hidden window by which the camera
// window recognises Pictor; it posts Acquire to itself once created.
#pragma once

#include <memory>

#include "doc_template.h"
#include "mdi_frame.h"
#include "status_bar.h"
#include "tool_bar.h"
#include "twain_connection.h"

class CMainFrame : public wingui::MdiFrame {
public:
    explicit CMainFrame(wingui::DocTemplate& docTemplate);
    ~CMainFrame() override;
    // Creates the frame from resources 128 (not shown); false when it cannot.
    bool LoadFrame();
    bool PreTranslateMessage(MSG& msg) override;
    // Between messages: the status bar's key panes.
    void OnIdle() const { statusBar_.UpdateKeys(); }
    // An acquired picture: a new document, loaded, saved automatically.
    void OnImage(HGLOBAL dib);

protected:
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    class Connection : public CTwainConnection {
    public:
        explicit Connection(CMainFrame& frame) : frame_(frame) {}
        void OnImage(HGLOBAL dib, const TW_IMAGEINFO& info) override;

    private:
        CMainFrame& frame_;
    };

    void OnAcquire();
    void ToggleBar(int command);
    bool CloseAllDocuments();
    void OpenDroppedFiles(HDROP drop);

    wingui::DocTemplate& template_;
    wingui::ToolBar toolBar_;
    wingui::StatusBar statusBar_;
    Connection connection_;
    HWND hiddenWindow_ = nullptr;
};

// Posts a message to the camera window's hidden window, when there is one.
void PostToCameraWindow(UINT message);

constexpr const char* kPictorHideWindowClass = "VEXA_Pictor_HideWindow";
constexpr const char* kCameraHideWindowClass = "VEXA_TWain_HideWnd";
