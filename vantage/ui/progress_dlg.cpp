// Progress dialog: texts, the request to the worker, progress and the end.
#include "ui/progress_dlg.h"

#include "string_keys.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr UINT kRequestDelayMs = 300;

// A message box of another thread (the worker's replace question) owned by
// the dialog: answered Cancel, so that the worker never waits on a box
// whose owner is gone.
BOOL CALLBACK CancelOwnedQuestion(HWND window, LPARAM dialog) {
    char cls[8] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(dialog) && lstrcmpA(cls, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

bool CProgressDlg::OnInitDialog() {
    RECT r;
    GetWindowRect(Handle(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ApplyText(Handle(), kKeyProgressTitle);
    ApplyText(Item(kProgressLabel), kKeyProgressLabel);
    ApplyText(Item(kProgressClose), kKeyProgressClose);
    StartTimer(UINT_PTR(mode_), kRequestDelayMs);
    return true;
}

void CProgressDlg::OnTimer(UINT_PTR id) {
    if (id != UINT_PTR(mode_)) return;
    StopTimer(id);
    const UINT request = mode_ == kProgressDownload ? kMsgDownload : kMsgTransferList;
    // A request that cannot reach the worker ends as an error.
    if (!gVantage.worker.RequestForDialog(request, Handle(), order_)) Finish(kWorkError, 0);
}

void CProgressDlg::Finish(int result, int count) {
    if (finished_) return;
    finished_ = true;
    result_ = result;
    count_ = count;
    if (mode_ != kProgressDownload) {
        EndDialog(IDCANCEL);
        return;
    }
    const int key = result <= 0 ? kKeyDownloadDone : result == kResultNoPicture ? kKeyNoPicture : kKeyDownloadError;
    SetItemText(kProgressLabel, gVantage.strings.Message(key).c_str());
    ShowItem(kProgressClose, true);
    EnableItem(kProgressClose, true);
}

bool CProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != kMsgWorkDone) return false;
    Finish(int(wParam), int(lParam));
    result = 0;
    return true;
}

// The dialog is disabled while the question is up: only a closing request
// gets here then. Its owned windows must go first: once the dialog is being
// destroyed the system has already let go of another thread's owned boxes.
void CProgressDlg::OnCancel() {
    EnumWindows(CancelOwnedQuestion, reinterpret_cast<LPARAM>(Handle()));
    Dialog::OnCancel();
}
