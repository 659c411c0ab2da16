// CVideoDlg: the video window, template 2005 of Lexis.DLL made a child of
// the camera window, whose place it takes while it is open. The camera's
// live video shows in its preview area (3000, given to TogglePreview); the
// user starts a capture in the camera (3006) and switches the video size
// (3002). After each size the preview area, this window and the camera
// window take the video's size, without moving. The camera reports the end
// of a capture by message 1124 (live video restarts, the buttons come back);
// 1125 is ignored.
//
// The camera stays open from the opening to the closing. Closing stops live
// video, shows the camera window's hidden controls again and puts the camera
// window back to the rectangle it had before.
#pragma once

#include <functional>
#include <memory>

#include "dialog.h"
#include "ui/button_faces.h"

class CVideoDlg : public wingui::Dialog {
public:
    explicit CVideoDlg(HWND cameraWindow) : camera_(cameraWindow) {}

    // Opens the camera and the window over the camera window; false (the
    // camera window untouched) when the camera does not answer or the
    // window cannot be made.
    bool Open();
    // Open until closed by the user or the camera window.
    bool IsOpen() const { return open_; }
    // The camera went away (the camera window's device-change handling).
    void DisableCapture() const;

    // The camera did not answer at the end of a capture.
    std::function<void()> onNoCamera;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnCancel() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Layout();
    void EndCapture();
    void TogglePreview();
    void EnableCapture(bool enabled) const;
    // Hides or shows the camera window's labels and unnamed controls.
    void ShowCameraExtras(bool shown) const;
    void KeepCameraChildrenBeneath() const;
    void SetCameraTopmost(bool topmost) const;

    HWND camera_;
    RECT cameraRect_ = {};
    bool open_ = false;
    bool liveVideo_ = false;  // TogglePreview starts and stops in turn
    int width_ = 0;            // the video's size, as the camera last reported it
    int height_ = 0;
    std::unique_ptr<CButtonFaces> faces_;
};
