// The worker's preparation of an enlarged view (thread message 1127): the
// item's first frame is read back from its frame file; a still is developed
// (no software enlarge) into the picture shown, a clip written into the
// temporary AVI file. The window hears 1324 and takes the result; a window
// that has gone meanwhile leaves no AVI behind.
#include "twain_thread.h"

#include <commctrl.h>

#include "camera/avi_writer.h"
#include "development.h"
#include "string_keys.h"
#include "system_win32.h"
#include "ui/progress_display.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr const char* kClipFile = "\\__VEXA__.avi";

}  // namespace

bool CTWainThread::RequestEnlarged(HWND window, int item) {
    return Enqueue(kMsgPrepareEnlarged, WPARAM(window), LPARAM(item));
}

bool CTWainThread::TakeEnlarged(HWND window, CEnlargedItem& prepared) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!window || enlargedFor_ != window) return false;
    prepared = std::move(enlarged_);
    enlarged_ = CEnlargedItem();
    enlargedFor_ = nullptr;
    return true;
}

void CTWainThread::PrepareEnlarged(HWND window, int item) {
    CEnlargedItem prepared;
    const HWND bar = GetDlgItem(window, kEnlargeProgressBar);
    // The table is this thread's own while a request runs.
    const std::vector<PictureItem>& items = table_.Items();
    if (item >= 0 && std::size_t(item) < items.size() && !items[std::size_t(item)].files.empty()) {
        const PictureItem& picture = items[std::size_t(item)];
        prepared.clip = picture.clip != 0;
        prepared.raw.assign(kRawBufferBytes, 0);
        const std::uint32_t bytes = ReadFileInto(picture.files[0], prepared.raw.data(), kRawBufferBytes);
        if (bytes == 0) {
            prepared.raw.clear();
        } else {
            prepared.geometry = GeometryOfFile(bytes);
            prepared.flip = table_.FlipFlag();
            prepared.set = table_.FormatCode();
            if (prepared.clip) {
                if (WriteClip(picture.files, prepared, bar, GetDlgItem(window, kProgressLabel)))
                    prepared.aviPath = SystemTempFolder() + kClipFile;
            } else {
                DevelopToPicture(prepared.raw.data(), prepared.geometry.width, prepared.geometry.height,
                                 prepared.flip, prepared.set, prepared.picture);
                PostMessageA(bar, PBM_DELTAPOS, 1, 0);
            }
        }
    }
    const std::string avi = prepared.aviPath;
    {
        std::lock_guard<std::mutex> guard(lock_);
        enlarged_ = std::move(prepared);
        enlargedFor_ = window;
    }
    EndRequest();
    if (PostMessageA(window, kMsgEnlargedReady, 0, 0)) return;
    CEnlargedItem dropped;
    if (TakeEnlarged(window, dropped) && !avi.empty()) DeleteFileA(avi.c_str());
}

// Every stored frame of the clip, developed without software enlarge, into
// the temporary AVI file; the bar and the label follow the frames.
bool CTWainThread::WriteClip(const std::vector<std::string>& files, const CEnlargedItem& clip, HWND bar,
                             HWND label) {
    const std::string folder = SystemTempFolder();
    if (folder.empty()) return false;
    const int total = int(files.size());
    const CProgressDisplay display(bar, label, gVantage.strings.Text(kKeyProgressLabel));
    display.StartBar(total);
    const FrameGeometry geometry = clip.geometry;
    return WriteAviClip(
        folder + kClipFile, geometry.width, geometry.height, total,
        [&](int frame, std::vector<std::uint8_t>& pixels) {
            return !QuitRequested() &&
                   DevelopFrameFile(files[std::size_t(frame)], geometry, clip.flip, clip.set, pixels);
        },
        display.ClipSteps(true));
}
