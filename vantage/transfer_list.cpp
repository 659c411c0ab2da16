// The worker's images for a transfer (thread message 1126): one packed DIB
// per stored frame of every selected clip and per selected still (its
// frame 0, software-enlarged when switched on), developed through BufToBmp, each in a movable zero-initialised
// global block, left unlocked. At most 4096 images. A frame that cannot be
// read or developed, or a block that cannot be had, is left out.
//
// The list waits in the worker until the camera window takes it
// (TakeImages); whoever holds it frees it unless it hands it on.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "development.h"
#include "twain_thread.h"
#include "ui/progress_display.h"
#include "vantage_ids.h"

namespace {

constexpr std::size_t kMaxImages = 4096;

HGLOBAL ToGlobalBlock(const std::vector<std::uint8_t>& dib) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dib.size());
    if (!block) return nullptr;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(bytes, dib.data(), dib.size());
    GlobalUnlock(block);
    return block;
}

}  // namespace

int CTWainThread::BuildImageList(HWND dialog, const WorkOrder& order, int& count) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        FreeImages();  // a list nobody took
    }
    count = 0;
    const std::vector<PictureItem>& items = table_.Items();
    if (items.empty()) return kWorkNoPicture;

    // The frame files in order, and whether each may be enlarged (a clip's frames never are).
    std::vector<std::pair<const std::string*, bool>> frames;
    for (int index : order.items) {
        if (index < 0 || std::size_t(index) >= items.size()) continue;
        const PictureItem& item = items[std::size_t(index)];
        const std::size_t n = item.clip ? item.files.size() : std::min<std::size_t>(1, item.files.size());
        for (std::size_t f = 0; f < n; ++f) frames.emplace_back(&item.files[f], order.enlarge && !item.clip);
    }
    const CProgressDisplay display = CProgressDisplay::OfProgressDialog(dialog);
    const int total = int(frames.size());
    display.StartBar(total);
    display.ShowCount(0, total);

    const int flip = table_.FlipFlag(), set = table_.FormatCode();
    std::vector<HGLOBAL> images;
    for (const auto& [file, enlarge] : frames) {
        if (Stopped(dialog) || images.size() == kMaxImages) break;
        RawFrame frame;
        std::vector<std::uint8_t> dib;
        if (!ReadRawFrame(*file, frame) || !DevelopToDib(frame, flip, set, enlarge, dib)) continue;
        HGLOBAL block = ToGlobalBlock(dib);
        if (!block) continue;
        images.push_back(block);
        display.SetBar(int(images.size()));
        display.ShowCount(int(images.size()), total);
    }
    count = int(images.size());
    std::lock_guard<std::mutex> guard(lock_);
    images_.swap(images);
    return kWorkDone;
}
