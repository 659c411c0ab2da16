// OpenVantage, Vantage's one export: the data source hands over its window
// and the thirteen camera operations; the camera window opens and its handle
// comes back at once (null when it cannot be made).
//
// An earlier camera window (of this or another process) is closed first
// through its hide window (1226). The wait for it keeps this thread's
// messages flowing, since the earlier window may live on this very thread,
// ends as soon as the window is gone, and gives up after ten rounds of three
// seconds: the data source then gets null rather than hanging. A call made
// from inside that wait (a message handler of the data source) gets null at
// once: the outer call would otherwise close the window it made.
//
// Without its own folder Vantage loads no companion (never from the current
// directory) and makes no window.
#include <windows.h>

#include "camera_dlg.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr int kCloseRounds = 10;
constexpr DWORD kCloseRoundMs = 3000;
constexpr DWORD kPollMs = 50;  // a window of another process ends without waking us

// Dispatches this thread's messages until `window` is gone or `ms` have
// passed. False when the thread is asked to quit (the request is kept).
bool PumpWhileWindowExists(HWND window, DWORD ms) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) break;
        const DWORD left = ms - elapsed;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < kPollMs ? left : kPollMs, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

bool CloseEarlierWindow() {
    for (int round = 0; round < kCloseRounds; ++round) {
        const HWND hide = FindWindowA(kHideWndClass, nullptr);
        if (!hide) return true;
        PostMessageA(hide, kMsgCloseRequest, 0, 0);
        if (!PumpWhileWindowExists(hide, kCloseRoundMs)) return false;
    }
    return FindWindowA(kHideWndClass, nullptr) == nullptr;
}

// Marks the call in progress, for the nested-call guard.
struct OpeningScope {
    OpeningScope() { gVantage.opening = true; }
    ~OpeningScope() { gVantage.opening = false; }
};

}  // namespace

extern "C" HWND __stdcall OpenVantage(HWND sourceWindow, OpenCameraFn openCamera, CloseCameraFn closeCamera,
                                      TogglePreviewFn togglePreview, StartCaptureFn startCapture,
                                      NotifyCloseFn notifyClose, SetFrameSizeFn setFrameSize,
                                      ReadDirectoryFn readDirectory, ReadEntriesFn readEntries, ReadFrameFn readFrame,
                                      DeleteAllPicturesFn deleteAllPictures, GetFrameInfoFn getFrameInfo,
                                      SwitchVideoSizeFn switchVideoSize, TransferImagesFn transferImages) {
    if (gVantage.opening || gVantage.folder.empty()) return nullptr;
    // Without Lexis.DLL there is no template to make a window from; an
    // earlier window is then left alone.
    if (!gVantage.lexis) gVantage.lexis = LoadLibraryA(VantageFile("Lexis.DLL").c_str());
    if (!gVantage.lexis) return nullptr;
    OpeningScope opening;
    gVantage.camera.Store({openCamera, closeCamera, togglePreview, startCapture, notifyClose, setFrameSize,
                           readDirectory, readEntries, readFrame, deleteAllPictures, getFrameInfo, switchVideoSize,
                           transferImages});
    if (!CloseEarlierWindow()) return nullptr;

    auto* dialog = new CCameraDlg(sourceWindow);
    gVantage.cameraDlg = dialog;
    if (!dialog->Create()) {
        gVantage.cameraDlg = nullptr;
        delete dialog;
        return nullptr;
    }
    // A window without its hide window could never be found or closed by a
    // later OpenVantage. Its end deletes the object.
    if (!dialog->HasHideWindow()) {
        DestroyWindow(dialog->Handle());
        return nullptr;
    }
    return dialog->Handle();
}
