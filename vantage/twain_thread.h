// CTWainThread: the camera window's one worker thread. It refreshes the
// picture table (thread message 1124), answers the progress dialog's
// requests (1125 download, 1126 the images for a transfer) and prepares the
// enlarged view of an item (1127, twain_thread_enlarge.cpp); it talks back
// only by posting to window handles, so a window that is gone simply drops
// the answer and the user-interface thread may wait for the worker.
//
// The worker owns the picture table and its temporary frame files. The
// user-interface thread reads the table only between requests; emptying it
// while a request runs is deferred to the request's end, so closing the
// camera window during a refresh never frees what the worker uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "camera/frame_files.h"
#include "camera/picture_table.h"
#include "camera/shown_picture.h"
#include "worker_thread.h"

// What a refresh reports to the camera window (lParam of kMsgRefreshDone).
struct RefreshReport {
    static LPARAM Pack(bool opened, int result) { return LPARAM((opened ? 4 : 0) | (result + 1)); }
    static bool Opened(LPARAM report) { return (report & 4) != 0; }
    static int Result(LPARAM report) { return int(report & 3) - 1; }
};

// What the camera window hands over with a download or a transfer.
struct WorkOrder {
    HWND window = nullptr;   // the camera window: hears the download's next file number
    std::vector<int> items;  // the selected items, in display order
    std::string folder;      // the picture folder
    int next = 1;            // `Next`: the number of the next download file
    bool enlarge = false;    // `EnlargeOnOff`
};

// What the worker prepares for an enlarged view: the item's first frame as
// read from its file (raw buffer of 307,328 bytes; empty when it could not
// be read), its geometry and development arguments, and for a still the
// developed picture, for a clip the temporary AVI file.
struct CEnlargedItem {
    bool clip = false;
    std::vector<std::uint8_t> raw;
    FrameGeometry geometry = {0, 0};
    int flip = 0;
    int set = 0;
    ShownPicture picture;  // empty when the development failed
    std::string aviPath;   // empty when no AVI was written
};

class CTWainThread : public wingui::WorkerThread {
public:
    CTWainThread();

    // User-interface thread. Starts a refresh: thumbnails go to `view`
    // (1124, wParam the item), the end to `window` (kMsgRefreshDone with the
    // generation returned). 0 when the worker is busy or not running.
    unsigned RequestRefresh(HWND window, HWND view);
    // kMsgDownload or kMsgTransferList for a progress dialog. The work
    // stops early once the dialog is gone.
    bool RequestForDialog(UINT message, HWND dialog, WorkOrder order);
    // The images of the last transfer list (movable global blocks, unlocked),
    // taken over: the caller hands them to the data source or frees them.
    std::vector<HGLOBAL> TakeImages();
    // kMsgPrepareEnlarged: prepares `item` for the enlarged view `window`
    // (its progress bar follows), which hears kMsgEnlargedReady and then
    // takes the result. False when the worker does not run.
    bool RequestEnlarged(HWND window, int item);
    // The result prepared for `window`, taken over; false when there is none.
    bool TakeEnlarged(HWND window, CEnlargedItem& prepared);
    bool IsBusy() const;
    // The thumbnail the refresh made for `item`, taken over; and whether the item is a clip.
    bool TakeThumbnail(int item, std::vector<std::uint8_t>& thumbnail, bool& clip);
    // Frames stored for `item` (0 for an unknown item).
    int StoredFrames(int item) const;
    // Frees the table and deletes its temporary files now, or when the
    // request in hand ends.
    void EmptyPictures();

protected:
    void OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnLoopEnd() override;

private:
    bool Enqueue(UINT message, WPARAM wParam, LPARAM lParam);
    void Refresh(HWND window, unsigned generation);
    void AnswerDialog(UINT message, HWND dialog);
    // Download (download.cpp) and the transfer list (transfer_list.cpp);
    // each returns the result code for the dialog.
    int Download(HWND dialog, const WorkOrder& order);
    int BuildImageList(HWND dialog, const WorkOrder& order, int& count);
    bool Stopped(HWND dialog) const { return QuitRequested() || !IsWindow(dialog); }
    // Under lock_.
    void FreeImages();
    void PrepareEnlarged(HWND window, int item);
    bool WriteClip(const std::vector<std::string>& files, const CEnlargedItem& clip, HWND bar, HWND label);
    // Ends a request: runs a deferred emptying.
    void EndRequest();
    void EmptyNow();

    mutable std::mutex lock_;  // guards the fields below and the thumbnails
    int pending_ = 0;          // requests posted and not yet ended
    bool emptyDue_ = false;
    unsigned generation_ = 0;
    HWND refreshView_ = nullptr;  // the view of the refresh in hand
    std::vector<std::vector<std::uint8_t>> thumbnails_;
    std::map<HWND, WorkOrder> orders_;  // by progress dialog, until its request runs
    std::vector<HGLOBAL> images_;       // the last transfer list, until taken
    HWND enlargedFor_ = nullptr;        // the window the prepared result waits for
    CEnlargedItem enlarged_;

    CPictureTable table_;  // written by the worker during a request
    CFrameFiles names_;

    friend class CRefreshTarget;
};
