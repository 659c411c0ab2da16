// Camera window: the ten command buttons. Download and transfer run the
// progress dialog, whose work the worker thread does; delete all asks
// first; options and information run their dialogs; video opens the video
// window. A double-click on a thumbnail opens the enlarged view.
#include "camera_dlg.h"

#include <vector>

#include "string_keys.h"
#include "ui/about_dlg.h"
#include "ui/enlarge_dlg.h"
#include "ui/options_dlg.h"
#include "ui/progress_dlg.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

// The wait cursor for the length of a command.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}  // IDC_WAIT
    ~WaitCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

// The transfer list between the worker and the data source: freed unless
// handed over.
struct ImageList {
    explicit ImageList(std::vector<HGLOBAL> list) : blocks(std::move(list)) {}
    ~ImageList() {
        if (!handedOver)
            for (HGLOBAL block : blocks) GlobalFree(block);
    }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    HGLOBAL* HandOver() {
        handedOver = true;
        return blocks.data();
    }
    std::vector<HGLOBAL> blocks;
    bool handedOver = false;
};

}  // namespace

bool CCameraDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case kDownloadButton:
        RunDownload();
        return true;
    case kTransferButton:
        RunTransfer();
        return true;
    case kSelectAllButton:
    case kClearAllButton:
        if (view_) view_->SelectAll(id == kSelectAllButton);
        return true;
    case kDeleteAllButton:
        RunDeleteAll();
        return true;
    case kRefreshButton:
        StartTimer(kTimerRefresh, kRefreshDelayMs);
        return true;
    case kOptionsButton:
        RunOptions();
        return true;
    case kAboutButton:
        RunAbout();
        return true;
    case kVideoButton:
        OpenVideo();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

int CCameraDlg::Ask(int textKey, int captionKey, UINT style) {
    const std::string text = gVantage.strings.Message(textKey);
    const std::string caption = captionKey ? gVantage.strings.Message(captionKey) : std::string();
    return MessageBoxA(Handle(), text.c_str(), caption.c_str(), style);
}

WorkOrder CCameraDlg::MakeWorkOrder() const {
    WorkOrder order;
    order.window = Handle();
    if (view_)
        for (int p = 0; p < view_->ShownCount(); ++p)
            if (view_->Selected(p)) order.items.push_back(view_->ItemAt(p));
    order.folder = pictures_.path;
    order.next = pictures_.next;
    order.enlarge = pictures_.enlargeOnOff != 0;
    return order;
}

// The worker's download has used numbers up to `next` - 1; stored at once,
// also when the progress dialog was closed before the download ended.
void CCameraDlg::OnNextNumber(int next) {
    pictures_.next = next;
    pictures_.Write(gVantage.iniPath, settings_.enlarge);
}

void CCameraDlg::RunDownload() {
    WaitCursor wait;
    EnableCommands(false);
    CProgressDlg progress(kProgressDownload, MakeWorkOrder());
    gVantage.modal.Run(progress, gVantage.lexis, kProgressTemplate, Handle());
    if (!IsAlive()) return;  // closed meanwhile
    pictures_.Write(gVantage.iniPath, settings_.enlarge);
    EnableCommands(true);
    if (!gVantage.cameraPresent) EnterNoCameraState();
}

void CCameraDlg::RunTransfer() {
    EnableCommands(false);
    ShowWindow(Handle(), SW_HIDE);
    gVantage.transferDone = 0;
    CProgressDlg progress(kProgressTransfer, MakeWorkOrder());
    gVantage.modal.Run(progress, gVantage.lexis, kProgressTemplate, Handle());
    // Ours until the data source is called, theirs from then on whatever it
    // answers (it may have freed them).
    ImageList images(gVantage.worker.TakeImages());
    if (!IsAlive()) return;
    if (progress.Result() == CProgressDlg::kResultNoPicture) {
        Ask(kKeyNoPicture, kKeyProgressTitle, MB_OK);
        Post(WM_COMMAND, IDCANCEL);
        return;
    }
    gVantage.camera.Close();
    const bool opened = gVantage.camera.Open();
    bool transferred = false;
    if (opened && progress.Result() <= 0 && progress.Count() > 0 && !images.blocks.empty())
        transferred = gVantage.camera.TransferImages(images.HandOver(), int(images.blocks.size()));
    if (!transferred) Ask(kKeyTransferError, 0, MB_OK);
    if (!IsAlive()) return;
    EnableCommands(true);
    if (!opened || !gVantage.cameraPresent) EnterNoCameraState();
    if (transferred)
        gVantage.transferDone = 1;  // hidden until the data source reports the transfer (1125)
    else
        Post(WM_COMMAND, IDCANCEL);
}

void CCameraDlg::RunDeleteAll() {
    if (Ask(kKeyDeleteQuestion, 0, MB_YESNO | MB_ICONEXCLAMATION) != IDYES || !IsAlive()) return;
    WaitCursor wait;
    EnableCommands(false);
    gVantage.camera.Close();
    if (gVantage.camera.Open()) {
        const bool deleted = gVantage.camera.DeleteAllPictures();
        gVantage.camera.Close();
        if (deleted) Ask(kKeyDeleteDone, 0, MB_OK);
        if (!IsAlive()) return;
        EnableCommands(true);
        EnterNoPicturesState();
    } else {
        EnterNoCameraState();
    }
    EmptyPictures();
}

void CCameraDlg::RunOptions() {
    const bool enlarge = settings_.enlarge != 0;
    COptionsDlg dialog(pictures_, enlarge);
    const INT_PTR answer = gVantage.modal.Run(dialog, enlarge ? gVantage.instance : gVantage.lexis,
                                              enlarge ? kOptionsEnlargeTemplate : kOptionsTemplate, Handle());
    if (answer != IDOK || !IsAlive()) return;
    pictures_.path = dialog.Folder();
    pictures_.next = dialog.Next();
    if (enlarge) pictures_.enlargeOnOff = dialog.Enlarge() ? 1 : 0;
    pictures_.Write(gVantage.iniPath, settings_.enlarge);
}

void CCameraDlg::RunAbout() {
    CAboutDlg dialog;
    gVantage.modal.Run(dialog, gVantage.lexis, kAboutTemplate, Handle());
}

// A double-click on a thumbnail: the item's enlarged view, modal.
void CCameraDlg::OnOpenItem(int item) {
    CEnlargeDlg dialog(item);
    gVantage.modal.Run(dialog, gVantage.lexis, kEnlargeTemplate, Handle());
}

// The previous video window goes first; a camera that does not answer opens
// none. One video window at a time.
void CCameraDlg::OpenVideo() {
    if (VideoOpen()) return;
    video_.reset();
    video_ = std::make_unique<CVideoDlg>(Handle());
    video_->onNoCamera = [this] { EnterNoCameraState(); };
    if (video_->Open()) return;
    video_.reset();
    EnterNoCameraState();
}
