// Camera window: start-up, timers, camera check, device changes, messages
// from outside and from the worker, closing.
#include "camera_dlg.h"

#include <dbt.h>

#include "string_keys.h"
#include "system_win32.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

struct CommandButton {
    int id;
    int captionKey;
    int icon;  // in Lexis.DLL
};

// In this order also the order of the layout strings 11..20 of Lexis.DLL.
constexpr CommandButton kCommands[CCameraDlg::kCommandCount] = {
    {kDownloadButton, 12, 11}, {kTransferButton, 13, 12}, {kSelectAllButton, 14, 13}, {kClearAllButton, 15, 14},
    {kDeleteAllButton, 16, 15}, {kVideoButton, 18, 16},   {kOptionsButton, 19, 17},   {kRefreshButton, 17, 18},
    {kAboutButton, 20, 19},     {kCloseButton, 21, 20},
};

constexpr int kHiddenModeOffset = -100;  // the window's position in hidden mode
constexpr int kHiddenModeSize = 10;
constexpr UINT kSetUpDelayMs = 100;
constexpr UINT kCameraCheckDelayMs = 200;
constexpr UINT kCloseAfterTransferMs = 1000;
constexpr int kFrontAttempts = 3;
constexpr const char* kPictorIconFile = "Pictor.ico";
constexpr DWORD kLibraryReleaseGraceMs = 200;

}  // namespace

CCameraDlg::~CCameraDlg() {
    if (pictorIcon_) DestroyIcon(pictorIcon_);
}

bool CCameraDlg::Create() {
    return libraryHold_.Acquire(&gVantage) &&
           CreateModeless(gVantage.lexis, kCameraTemplate, nullptr);
}

bool CCameraDlg::OnInitDialog() {
    settings_ = ReadWindowSettings(gVantage.iniPath);
    hideWnd_.CreateHidden(gVantage.instance, Handle());
    for (const CommandButton& c : kCommands) ShowItem(c.id, false);
    if (!gVantage.hostedByPictor && settings_.hideByOtherAP)
        SetWindowPos(Handle(), nullptr, kHiddenModeOffset, kHiddenModeOffset, kHiddenModeSize, kHiddenModeSize,
                     SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    StartTimer(kTimerSetUp, kSetUpDelayMs);
    StartTimer(kTimerCameraCheck, kCameraCheckDelayMs);
    return true;
}

void CCameraDlg::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerSetUp:
        StopTimer(id);
        DeferredSetUp();
        break;
    case kTimerCameraCheck:
        StopTimer(id);
        CheckCamera();
        break;
    case kTimerRefresh:
        StopTimer(id);
        StartRefresh();
        break;
    case kTimerCloseAfterTransfer:
        Post(WM_COMMAND, IDCANCEL);
        break;
    }
}

void CCameraDlg::DeferredSetUp() {
    SetUpButtonFaces();
    SetUpTexts();
    for (const CommandButton& c : kCommands) ShowItem(c.id, true);
    SetUpLabels();
    if (!gVantage.worker.IsStarted()) gVantage.worker.Start();
    CWindowsFolders folders;
    pictures_.Read(gVantage.iniPath, settings_.enlarge, folders);
    CreateView();
    EnableCommands(false);
}

// Over the placeholder, which stays hidden beneath it.
void CCameraDlg::CreateView() {
    view_ = std::make_unique<CThumbnailView>(settings_.showThumbnailNumber != 0);
    view_->onSelectionChanged = [this] { OnSelectionChanged(); };
    view_->onOpenItem = [this](int item) { Post(kMsgOpenItem, WPARAM(item)); };
    ShowItem(kThumbnailPlaceholder, false);
    if (!view_->CreateView(Handle(), ItemRect(kThumbnailPlaceholder), 0)) view_.reset();
}

void CCameraDlg::SetUpButtonFaces() {
    faces_ = std::make_unique<CButtonFaces>();
    for (int i = 0; i < kCommandCount; ++i)
        faces_->Attach(Item(kCommands[i].id), kCommands[i].icon, kFirstLayoutString + i);
}

void CCameraDlg::SetUpTexts() {
    ApplyText(Handle(), kKeyCameraTitle);
    for (const CommandButton& c : kCommands) ApplyText(Item(c.id), c.captionKey);
}

// Each label takes its text and the width of that text, about its own centre.
void CCameraDlg::SetUpLabels() {
    for (int id = kFirstLabel; id <= kLastLabel; ++id) {
        HWND label = Item(id);
        if (!label) continue;
        ShowWindow(label, SW_HIDE);
        const std::string text = gVantage.strings.Lookup(kKeyFirstLabel + (id - kFirstLabel), "");
        SetWindowTextA(label, text.c_str());
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        const RECT r = ItemRect(id);
        const int width = int(text.size()) * metrics.tmAveCharWidth;
        const int centre = (r.left + r.right) / 2;
        SetWindowPos(label, nullptr, centre - width / 2, r.top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(label, SW_SHOW);
    }
}

void CCameraDlg::CheckCamera() {
    if (gVantage.camera.Open()) {
        gVantage.camera.Close();
        gVantage.cameraPresent = 1;
        StartTimer(kTimerRefresh, kRefreshDelayMs);
        if (gVantage.hostedByPictor || !settings_.hideByOtherAP) return;
        Post(WM_COMMAND, kTransferButton);
        return;
    }
    Ask(kKeyNoCamera, kKeyCameraTitle, MB_OK | MB_ICONHAND);
    if (!IsAlive()) return;  // closed while the message was up
    gVantage.cameraPresent = 0;
    EnterNoCameraState();
    if (gVantage.hostedByPictor || !settings_.hideByOtherAP) return;
    Post(WM_COMMAND, IDCANCEL);
}

void CCameraDlg::OnDeviceChange(WPARAM event) {
    if (event != DBT_DEVNODES_CHANGED) return;
    const DWORD status = ReadDeviceStatus();
    if (gVantage.cameraPresent && status == 0) {
        if (VideoOpen()) video_->DisableCapture();
        gVantage.cameraPresent = 0;
        StartTimer(kTimerRefresh, kRefreshDelayMs);
    }
    if (gVantage.cameraPresent) return;
    if (status != 0 && gVantage.camera.Open()) {
        gVantage.camera.Close();
        gVantage.cameraPresent = 1;
        StartTimer(kTimerRefresh, kRefreshDelayMs);
    }
}

void CCameraDlg::OnPictorAnnounced() {
    gVantage.hostedByPictor = 1;
    HICON icon = ExtractIconA(gVantage.instance, VantageFile(kPictorIconFile).c_str(), 0);
    // ExtractIcon answers 1 for a file that is not an icon file.
    if (!icon || icon == reinterpret_cast<HICON>(1)) return;
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    if (pictorIcon_) DestroyIcon(pictorIcon_);
    pictorIcon_ = icon;
}

void CCameraDlg::BringToFront() {
    for (int i = 0; i < kFrontAttempts; ++i) {
        SetFocus(Handle());
        SetActiveWindow(Handle());
    }
}

bool CCameraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kMsgBringToFront:
        if (!VideoOpen() && lParam == 0) BringToFront();
        break;
    case kMsgTransferDone:
        if (!VideoOpen() && gVantage.transferDone) {
            gVantage.transferDone = 0;
            StartTimer(kTimerCloseAfterTransfer, kCloseAfterTransferMs);
        }
        break;
    case kMsgPictorHello:
        OnPictorAnnounced();
        break;
    case kMsgOpenItem:
        OnOpenItem(int(wParam));
        break;
    case kMsgRefreshDone:
        OnRefreshDone(unsigned(wParam), lParam);
        break;
    case kMsgNextNumber:
        OnNextNumber(int(wParam));
        break;
    case WM_SETCURSOR:
        // The wait cursor while a refresh runs.
        if (refreshGeneration_ == 0 || LOWORD(lParam) != HTCLIENT) return false;
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        result = TRUE;
        return true;
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam);
        result = TRUE;
        return true;
    default:
        return false;
    }
    result = 0;
    return true;
}

void CCameraDlg::OnCancel() {
    if (VideoOpen()) {
        video_->Post(WM_COMMAND, IDCANCEL);
        return;
    }
    gVantage.camera.NotifyClose();
    gVantage.camera.Close();
    Destroy();
}

void CCameraDlg::OnOK() { Destroy(); }

void CCameraDlg::OnDestroy() {
    if (video_) video_->Destroy();  // its live video stops before the camera closes
    gVantage.camera.Close();
    hideWnd_.Destroy();
    // The temporary files go with the window (after the worker's refresh when one runs).
    EmptyPictures();
}

// This thread is still in Vantage's code here; the library's reference is
// dropped a little later, from a thread of its own.
void CCameraDlg::OnFinalMessage() {
    if (gVantage.cameraDlg == this) gVantage.cameraDlg = nullptr;
    wingui::ModuleHold hold(std::move(libraryHold_));
    delete this;
    hold.ReleaseLater(kLibraryReleaseGraceMs);
}
