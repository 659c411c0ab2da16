// The worker thread: requests, the refresh over the camera operations and
// Prism, deferred emptying of the picture table.
#include "twain_thread.h"

#include <utility>

#include "camera/picture_loader.h"
#include "development.h"
#include "system_win32.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

// The camera operations of a refresh, through the data source's table.
class CLinkReader : public CCameraReader {
public:
    bool GetFrameInfo(std::uint8_t* record) override { return gVantage.camera.GetFrameInfo(record); }
    void SetFrameSize(int width, int height) override { gVantage.camera.SetFrameSize(width, height); }
    bool ReadDirectory(std::uint16_t& entryCount, const std::uint8_t*& header) override {
        std::uint8_t* h = nullptr;
        const bool ok = gVantage.camera.ReadDirectory(entryCount, h);
        header = h;
        return ok;
    }
    bool ReadEntries(const std::uint8_t*& records) override {
        std::uint8_t* r = nullptr;
        const bool ok = gVantage.camera.ReadEntries(r);
        records = r;
        return ok;
    }
    bool ReadFrame(int entry, const std::uint8_t*& frame, std::uint32_t& bytes) override {
        std::uint8_t* f = nullptr;
        const bool ok = gVantage.camera.ReadFrame(entry, f, bytes);
        frame = f;
        return ok;
    }
};

}  // namespace

// Where a refresh's results go: Prism for development, the view for thumbnails.
class CRefreshTarget : public CLoadTarget {
public:
    explicit CRefreshTarget(CTWainThread& worker) : worker_(worker) {}
    std::string TempFolder() override { return SystemTempFolder(); }
    bool Develop(const std::uint8_t* raw, int width, int height, int flip, int set,
                 std::vector<std::uint8_t>& pixels) override {
        return DevelopToPixels(raw, width, height, flip, set, pixels);
    }
    void ThumbnailMade(int item, std::vector<std::uint8_t>&& thumbnail) override {
        HWND view;
        {
            std::lock_guard<std::mutex> guard(worker_.lock_);
            if (std::size_t(item) >= worker_.thumbnails_.size()) worker_.thumbnails_.resize(std::size_t(item) + 1);
            worker_.thumbnails_[std::size_t(item)] = std::move(thumbnail);
            view = worker_.refreshView_;
        }
        PostMessageA(view, kMsgThumbnailAdded, WPARAM(item), 0);
    }
    bool Cancelled() override { return worker_.QuitRequested(); }

private:
    CTWainThread& worker_;
};

CTWainThread::CTWainThread() : names_(FileNameInUse) {}

bool CTWainThread::Enqueue(UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!Post(message, wParam, lParam)) return false;
    ++pending_;
    return true;
}

unsigned CTWainThread::RequestRefresh(HWND window, HWND view) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (pending_ > 0) return 0;
        if (++generation_ == 0) ++generation_;
    }
    return Enqueue(kMsgRefresh, WPARAM(window), LPARAM(view)) ? generation_ : 0;
}

bool CTWainThread::RequestForDialog(UINT message, HWND dialog, WorkOrder order) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        orders_[dialog] = std::move(order);
    }
    if (Enqueue(message, WPARAM(dialog), 0)) return true;
    std::lock_guard<std::mutex> guard(lock_);
    orders_.erase(dialog);
    return false;
}

std::vector<HGLOBAL> CTWainThread::TakeImages() {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<HGLOBAL> images;
    images.swap(images_);
    return images;
}

// Under lock_: images nobody took (a dialog closed early, an unload).
void CTWainThread::FreeImages() {
    for (HGLOBAL image : images_) GlobalFree(image);
    images_.clear();
}

bool CTWainThread::IsBusy() const {
    std::lock_guard<std::mutex> guard(lock_);
    return pending_ > 0;
}

bool CTWainThread::TakeThumbnail(int item, std::vector<std::uint8_t>& thumbnail, bool& clip) {
    std::lock_guard<std::mutex> guard(lock_);
    if (item < 0 || std::size_t(item) >= thumbnails_.size() || thumbnails_[std::size_t(item)].empty()) return false;
    thumbnail = std::move(thumbnails_[std::size_t(item)]);
    thumbnails_[std::size_t(item)].clear();
    // Items are fixed before the first thumbnail is announced.
    clip = std::size_t(item) < table_.Items().size() && table_.Items()[std::size_t(item)].clip != 0;
    return true;
}

int CTWainThread::StoredFrames(int item) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (pending_ > 0 || item < 0 || std::size_t(item) >= table_.Items().size()) return 0;
    return int(table_.Items()[std::size_t(item)].files.size());
}

void CTWainThread::EmptyPictures() {
    std::lock_guard<std::mutex> guard(lock_);
    if (pending_ > 0) {
        emptyDue_ = true;
        return;
    }
    EmptyNow();
}

// Under lock_.
void CTWainThread::EmptyNow() {
    emptyDue_ = false;
    thumbnails_.clear();
    EmptyPictureTable(table_);
}

void CTWainThread::EndRequest() {
    std::lock_guard<std::mutex> guard(lock_);
    if (pending_ > 0) --pending_;
    if (pending_ == 0 && emptyDue_) EmptyNow();
}

void CTWainThread::OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgRefresh: {
        unsigned generation;
        {
            std::lock_guard<std::mutex> guard(lock_);
            generation = generation_;
            refreshView_ = reinterpret_cast<HWND>(lParam);
        }
        Refresh(reinterpret_cast<HWND>(wParam), generation);
        break;
    }
    case kMsgDownload:
    case kMsgTransferList:
        AnswerDialog(message, reinterpret_cast<HWND>(wParam));
        break;
    case kMsgPrepareEnlarged:
        PrepareEnlarged(reinterpret_cast<HWND>(wParam), int(lParam));
        break;
    default:
        return;
    }
}

void CTWainThread::Refresh(HWND window, unsigned generation) {
    bool opened = false;
    LoadResult result = kLoadEmpty;
    if (!QuitRequested() && gVantage.camera.Open()) {
        opened = true;
        CLinkReader reader;
        CRefreshTarget target(*this);
        result = LoadPictures(table_, names_, reader, target);
        gVantage.camera.Close();
    }
    EndRequest();
    PostMessageA(window, kMsgRefreshDone, WPARAM(generation), RefreshReport::Pack(opened, int(result)));
}

// The table is the worker's while the request runs (the window reads it
// only between requests), so the work reads it without the lock.
void CTWainThread::AnswerDialog(UINT message, HWND dialog) {
    WorkOrder order;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto found = orders_.find(dialog);
        if (found != orders_.end()) {
            order = std::move(found->second);
            orders_.erase(found);
        }
    }
    int count = 0;
    const int result = message == kMsgDownload ? Download(dialog, order) : BuildImageList(dialog, order, count);
    EndRequest();
    PostMessageA(dialog, kMsgWorkDone, WPARAM(result), LPARAM(count));
}

void CTWainThread::OnLoopEnd() {
    // Requests still queued behind the quit never run: their deferred
    // emptying happens here.
    std::lock_guard<std::mutex> guard(lock_);
    pending_ = 0;
    orders_.clear();
    FreeImages();
    if (emptyDue_) EmptyNow();
}
