// Camera window: the refresh (started here, run by the worker thread) and
// the rules that enable the command buttons.
//
// The close button (2) is never disabled: a dialog whose button 2 is
// disabled ignores its title-bar close, and closing is safe in every state
// (a refresh in hand finishes on the worker, which then deletes its files).
#include "camera_dlg.h"

#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr int kAllCommands[] = {kDownloadButton, kDeleteAllButton, kOptionsButton, kTransferButton,
                                kVideoButton,    kSelectAllButton, kClearAllButton, kRefreshButton,
                                kAboutButton};
constexpr UINT kRetryMs = 100;  // the worker is still busy with earlier work

}  // namespace

// Timer 1002: empties the view and hands the refresh to the worker.
void CCameraDlg::StartRefresh() {
    if (gVantage.worker.IsBusy() || !view_) {
        StartTimer(kTimerRefresh, kRetryMs);
        return;
    }
    EnableCommands(false);
    EmptyPictures();
    refreshGeneration_ = gVantage.worker.RequestRefresh(Handle(), view_->Handle());
    if (refreshGeneration_ == 0) {
        // No worker: a refresh that found no camera.
        OnRefreshDone(0, 0);
        return;
    }
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
}

void CCameraDlg::OnRefreshDone(unsigned generation, LPARAM report) {
    if (generation != refreshGeneration_) return;  // an answer for a window that has moved on
    refreshGeneration_ = 0;
    const bool opened = RefreshReport::Opened(report);
    const int result = RefreshReport::Result(report);
    EnableCommands(true);
    ApplySelectionRule(true);
    // Nothing shown is the no-pictures state too, whatever the result (all
    // items failed, or the temporary folder could not be written).
    if (result <= 0 || !view_ || view_->ShownCount() == 0) EnterNoPicturesState();
    if (result < 0) Post(WM_COMMAND, kRefreshButton);
    if (!opened || !gVantage.cameraPresent) EnterNoCameraState();
    if (view_) view_->ScrollToTop();
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

void CCameraDlg::EnableCommands(bool enabled) {
    for (int id : kAllCommands) EnableItem(id, enabled);
    EnableItem(kCloseButton, true);
    ApplyTransferLock();
}

void CCameraDlg::ApplyTransferLock() {
    if (gVantage.hostedByPictor) EnableItem(kTransferButton, false);
}

// Download follows the selection; transfer too, when the selection holds a
// stored frame.
void CCameraDlg::ApplySelectionRule(bool selected) {
    EnableItem(kDownloadButton, selected);
    bool frames = false;
    if (selected && view_) {
        for (int p = 0; p < view_->ShownCount() && !frames; ++p)
            frames = view_->Selected(p) && gVantage.worker.StoredFrames(view_->ItemAt(p)) > 0;
    }
    EnableItem(kTransferButton, selected && frames);
    ApplyTransferLock();
}

void CCameraDlg::OnSelectionChanged() { ApplySelectionRule(view_ && view_->SelectedCount() > 0); }

void CCameraDlg::EnterNoPicturesState() {
    ApplySelectionRule(false);
    EnableItem(kSelectAllButton, false);
    EnableItem(kClearAllButton, false);
}

void CCameraDlg::EnterNoCameraState() {
    EnableCommands(false);
    EnableItem(kAboutButton, true);
    EmptyPictures();
}

void CCameraDlg::EmptyPictures() {
    if (view_ && view_->IsAlive()) view_->Empty();
    gVantage.worker.EmptyPictures();
}
