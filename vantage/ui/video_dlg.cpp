// Video window: opening over the camera window, live video, capture, size
// switch and layout, closing.
#include "ui/video_dlg.h"

#include <algorithm>
#include <cstdint>

#include "camera/camera_ops.h"
#include "string_keys.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

struct VideoButton {
    int id;
    int captionKey;
};
// In this order also icons 21..23 of Lexis.DLL and their layout strings.
constexpr VideoButton kButtons[] = {{kCaptureButton, kKeyVideoCapture}, {kSizeButton, kKeyVideoSize},
                                    {kCloseButton, kKeyVideoClose}};

constexpr int kOpeningWidth = 320;
constexpr int kOpeningHeight = 240;
constexpr int kMaxVideoWidth = 640;
constexpr int kMaxVideoHeight = 480;
constexpr int kPreviewBorder = 2;   // one pixel on each side
constexpr int kCloseButtonInset = 5;
constexpr int kSideMargin = 20;
constexpr int kBottomMargin = 13;
constexpr int kFrontAttempts = 3;
constexpr int kFrameInfoWidthWord = 1;
constexpr int kFrameInfoHeightWord = 2;

std::uint32_t Word(const std::uint8_t* record, int index) {
    const std::uint8_t* p = record + 4 * index;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void ResizeWindow(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool CVideoDlg::Open() {
    if (!gVantage.camera.Open()) return false;
    ShowCameraExtras(false);
    KeepCameraChildrenBeneath();
    if (gVantage.hostedByPictor) SetCameraTopmost(true);
    GetWindowRect(camera_, &cameraRect_);
    if (!CreateModeless(gVantage.lexis, kVideoTemplate, camera_)) {
        // Undone, as if the camera had not answered.
        if (gVantage.hostedByPictor) SetCameraTopmost(false);
        ShowCameraExtras(true);
        gVantage.camera.Close();
        return false;
    }
    open_ = true;
    // A new child window lies beneath its siblings: it must come above the
    // camera window's buttons and view, for the eye and for the mouse.
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
    return true;
}

bool CVideoDlg::OnInitDialog() {
    faces_ = std::make_unique<CButtonFaces>();
    for (int i = 0; i < int(std::size(kButtons)); ++i)
        faces_->Attach(Item(kButtons[i].id), kFirstVideoIcon + i, kFirstVideoIcon + i);
    ApplyText(Handle(), kKeyVideoTitle);
    for (const VideoButton& b : kButtons) ApplyText(Item(b.id), b.captionKey);
    width_ = kOpeningWidth;
    height_ = kOpeningHeight;
    gVantage.camera.SetFrameSize(width_, height_);
    TogglePreview();
    Layout();
    return true;
}

// The video's size from the camera (a size beyond the camera's largest
// keeps the last one), then the preview area and both windows around it.
void CVideoDlg::Layout() {
    std::uint8_t info[kFrameInfoBytes] = {};
    if (gVantage.camera.GetFrameInfo(info)) {
        const std::uint32_t w = Word(info, kFrameInfoWidthWord), h = Word(info, kFrameInfoHeightWord);
        if (w >= 1 && w <= std::uint32_t(kMaxVideoWidth) && h >= 1 && h <= std::uint32_t(kMaxVideoHeight)) {
            width_ = int(w);
            height_ = int(h);
        }
    }
    gVantage.camera.SetFrameSize(width_, height_);
    ResizeItem(kPreviewArea, width_ + kPreviewBorder, height_ + kPreviewBorder);
    const int right = ItemRect(kCloseButton).right;
    const int width = std::max(width_, right - kCloseButtonInset) + kSideMargin;
    const int height = GetSystemMetrics(SM_CYCAPTION) + ItemRect(kPreviewArea).top + height_ + kBottomMargin;
    ResizeWindow(Handle(), width, height);
    ResizeWindow(camera_, width, height);
}

void CVideoDlg::TogglePreview() {
    gVantage.camera.TogglePreview(Item(kPreviewArea));
    liveVideo_ = !liveVideo_;
}

void CVideoDlg::EnableCapture(bool enabled) const {
    EnableItem(kCaptureButton, enabled);
    EnableItem(kSizeButton, enabled);
}

void CVideoDlg::DisableCapture() const { EnableCapture(false); }

bool CVideoDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case kCaptureButton:
        EnableCapture(false);
        gVantage.camera.StartCapture();
        return true;
    case kSizeButton:
        gVantage.camera.SwitchVideoSize();
        Layout();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

// Live video restarts on a camera opened anew.
void CVideoDlg::EndCapture() {
    if (liveVideo_) TogglePreview();
    gVantage.camera.Close();
    if (gVantage.camera.Open()) {
        TogglePreview();
        EnableCapture(true);
    } else if (onNoCamera) {
        onNoCamera();
    }
    for (int i = 0; i < kFrontAttempts; ++i) {
        SetFocus(Handle());
        SetActiveWindow(Handle());
    }
}

bool CVideoDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == kMsgCaptureEnded) {
        EndCapture();
    } else if (message != kMsgVideoIgnored) {
        return false;
    }
    result = 0;
    return true;
}

void CVideoDlg::OnCancel() {
    if (!open_) return;
    if (liveVideo_) TogglePreview();
    gVantage.camera.Close();
    ShowCameraExtras(true);
    if (gVantage.hostedByPictor) SetCameraTopmost(false);
    open_ = false;
    ShowWindow(camera_, SW_RESTORE);
    SetWindowPos(camera_, HWND_TOP, cameraRect_.left, cameraRect_.top, cameraRect_.right - cameraRect_.left,
                 cameraRect_.bottom - cameraRect_.top, SWP_SHOWWINDOW);
    Destroy();
}

// Gone with the camera window: live video must not go on drawing into a
// window that no longer exists.
void CVideoDlg::OnDestroy() {
    if (liveVideo_) TogglePreview();
    open_ = false;
}

void CVideoDlg::ShowCameraExtras(bool shown) const {
    for (HWND child = GetWindow(camera_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        // A template's unnamed control (-1) reads back as a 16-bit id from some templates.
        if (id == kFirstLabel || id == kFirstLabel + 1 || id == kUnnamedControl || id == 0xFFFF)
            ShowWindow(child, shown ? SW_SHOW : SW_HIDE);
    }
}

// The camera window's buttons and view stay beneath the video window; a
// sibling that repaints (a refresh, an enabling rule) must not draw over it.
void CVideoDlg::KeepCameraChildrenBeneath() const {
    for (HWND child = GetWindow(camera_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SetWindowLongPtrA(child, GWL_STYLE, GetWindowLongPtrA(child, GWL_STYLE) | WS_CLIPSIBLINGS);
}

void CVideoDlg::SetCameraTopmost(bool topmost) const {
    SetWindowPos(camera_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
