// The worker's download (thread message 1125): every selected item becomes
// the next numbered file of the picture folder, a still a JPEG through
// BufToJpg, a clip an AVI of its frames through BufToBmp. The progress bar
// counts frames, the label items.
//
// A file that could not be written is not counted: its number is not used
// up, the other items still download, and the download ends with the error
// message. A cancelled replace question ends the download there; files
// written so far stay and keep their numbers. The new `Next` goes to the
// camera window, which stores it, whether or not the dialog is still open.
#include <windows.h>

#include <cstdio>

#include "camera/avi_writer.h"
#include "camera/download_names.h"
#include "development.h"
#include "twain_thread.h"
#include "ui/progress_display.h"
#include "vantage_ids.h"

namespace {

constexpr int kReplaceQuestionString = 257;  // in the system's comdlg32.dll
constexpr const char* kOwnReplaceQuestion = "%s already exists.\nDo you want to replace it?";

// The replace question: the system's own text when it is one that takes
// the file name (exactly one "%s" and no other conversion), else ours.
std::string ReplaceQuestion(const std::string& path) {
    char system[MAX_PATH] = {};
    std::string format = kOwnReplaceQuestion;
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::string dll = std::string(system) + "\\comdlg32.dll";
        if (HMODULE strings = LoadLibraryExA(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            char text[512] = {};
            if (LoadStringA(strings, kReplaceQuestionString, text, sizeof text) > 0) {
                const std::string candidate = text;
                const std::size_t s = candidate.find("%s");
                if (s != std::string::npos && candidate.find('%', s + 2) == std::string::npos &&
                    candidate.find('%') == s)
                    format = candidate;
            }
            FreeLibrary(strings);
        }
    }
    std::vector<char> question(format.size() + path.size() + 1);
    std::snprintf(question.data(), question.size(), format.c_str(), path.c_str());
    return question.data();
}

class CFolderTarget : public CDownloadTarget {
public:
    explicit CFolderTarget(HWND dialog) : dialog_(dialog) {}
    // Taken whatever keeps it from being read: a folder or a locked file of that name is not reused.
    bool Exists(const std::string& path) override { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    ReplaceAnswer AskReplace(const std::string& path) override {
        char caption[260] = {};
        GetWindowTextA(dialog_, caption, sizeof caption);
        switch (MessageBoxA(dialog_, ReplaceQuestion(path).c_str(), caption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return ReplaceAnswer::kYes;
        case IDNO: return ReplaceAnswer::kNo;
        default: return ReplaceAnswer::kCancel;
        }
    }

private:
    HWND dialog_;
};

}  // namespace

int CTWainThread::Download(HWND dialog, const WorkOrder& order) {
    const std::vector<PictureItem>& items = table_.Items();
    const CProgressDisplay display = CProgressDisplay::OfProgressDialog(dialog);
    int totalFrames = 0;
    for (int item : order.items)
        if (item >= 0 && std::size_t(item) < items.size()) totalFrames += int(items[std::size_t(item)].files.size());
    const int total = int(order.items.size());
    display.StartBar(totalFrames);
    display.ShowCount(0, total);

    CFolderTarget target(dialog);
    CDownloadNames names(target);
    const int flip = table_.FlipFlag(), set = table_.FormatCode();
    long next = order.next;
    int done = 0, framesPassed = 0;
    bool failed = false;
    for (int index : order.items) {
        if (Stopped(dialog)) break;
        if (index < 0 || std::size_t(index) >= items.size()) continue;
        const PictureItem& item = items[std::size_t(index)];
        const int frames = int(item.files.size());
        RawFrame frame;
        long number = 0;
        std::string path;
        bool written = false;
        if (frames > 0 && ReadRawFrame(item.files[0], frame)) {
            if (!names.Choose(order.folder, next, item.clip != 0, number, path)) {
                if (names.Mode() == kOverwriteCancelled) break;
            } else if (item.clip) {
                const FrameGeometry geometry = frame.geometry;
                written = WriteAviClip(
                    path, geometry.width, geometry.height, frames,
                    [&](int i, std::vector<std::uint8_t>& pixels) {
                        return !Stopped(dialog) && DevelopFrameFile(item.files[std::size_t(i)], geometry, flip, set, pixels);
                    },
                    display.ClipSteps(false));
            } else {
                written = DevelopToJpeg(frame, flip, set, order.enlarge, path);
            }
        }
        framesPassed += frames;
        display.SetBar(framesPassed);
        if (!written) {
            failed = true;
            continue;
        }
        next = number + 1;
        display.ShowCount(++done, total);
    }
    if (order.window) PostMessageA(order.window, kMsgNextNumber, WPARAM(next), 0);
    return failed || names.Mode() == kOverwriteCancelled ? kWorkError : kWorkDone;
}
