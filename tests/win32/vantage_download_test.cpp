// Download and transfer as the data source and the user meet them: Vantage.dll
// staged with its companions, opened with SimCam.dll's operations, its
// Download and Transfer commands run through the progress dialog; and the
// clip writer's failures on their own. Files are read back as a user's
// program would: clips through Wine's own AVI reader, JPEG sizes from their
// frame headers, the transferred images from SimCam.
//   vantage_download_test VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]
#include <windows.h>

#include <commctrl.h>
#include <vfw.h>

#include <algorithm>
#include <utility>

#include "avi_writer.h"
#include "vantage_stage.h"

namespace {

using namespace vantage_stage;

constexpr UINT kMsgTransferDone = 1125;
constexpr const char* kTitle = "Working";  // key 33: the progress dialog and the replace question

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD read = 0;
    ReadFile(f, &bytes[0], DWORD(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(f);
    return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// A clip as Video for Windows reads it back: the samples at 0, 8, 16, ...
struct AviReadBack {
    AVISTREAMINFOA info = {};
    BITMAPINFOHEADER format = {};
    std::vector<std::string> frames;
    int keyFrames = 0, filledGaps = 0;  // samples between the frames that hold data

    explicit AviReadBack(const std::string& path) {
        AVIFileInit();
        PAVIFILE file = nullptr;
        PAVISTREAM stream = nullptr;
        if (AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) == AVIERR_OK &&
            AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
            AVIStreamInfoA(stream, &info, sizeof info);
            LONG size = sizeof format;
            AVIStreamReadFormat(stream, 0, &format, &size);
            for (LONG pos = 0; pos < AVIStreamEnd(stream); ++pos) {
                std::string sample(std::size_t(format.biSizeImage) + 16, '\0');
                LONG bytes = 0;
                if (AVIStreamRead(stream, pos, 1, &sample[0], LONG(sample.size()), &bytes, nullptr) != AVIERR_OK) bytes = 0;
                sample.resize(std::size_t(bytes));
                if (pos % 8 != 0) {
                    filledGaps += bytes > 0;
                    continue;
                }
                frames.push_back(sample);
                keyFrames += AVIStreamFindSample(stream, pos, FIND_KEY | FIND_PREV) == pos;
            }
        }
        if (stream) AVIStreamRelease(stream);
        if (file) AVIFileRelease(file);
        AVIFileExit();
    }
    // A 40-per-second uncompressed stream of `count` key frames at 8 * i.
    bool Holds(int width, int height, int count) const {
        return info.fccType == streamtypeVIDEO && info.dwScale == 30 && info.dwRate == 1200 &&
               info.dwLength == DWORD(8 * (count - 1) + 1) && info.rcFrame.right == width &&
               info.rcFrame.bottom == height && format.biWidth == width && format.biHeight == height &&
               format.biBitCount == 24 && format.biCompression == BI_RGB && int(frames.size()) == count &&
               keyFrames == count && filledGaps == 0;
    }
    std::string Describe() const {
        char text[160];
        std::snprintf(text, sizeof text, "%.4s %lu/%lu length %lu, %ldx%ld %d bits, %d frames (%d key), %d gaps filled",
                      reinterpret_cast<const char*>(&info.fccType), info.dwRate, info.dwScale, info.dwLength,
                      format.biWidth, format.biHeight, format.biBitCount, int(frames.size()), keyFrames, filledGaps);
        return text;
    }
};

// The writer's refusals: a clip that fails part-way (at its first frame, at
// a later one, a frame of the wrong size) or is too wide leaves neither a
// file nor its temporary, and an earlier file of that name intact.
void TestClipWriter() {
    Stage s("download-avi-", false, false);
    const std::string path = s.File("clip.avi"), earlier = "an earlier clip";
    struct Case {
        int width, failAt, shortAt;
    } cases[] = {{320, 0, -1}, {320, 2, -1}, {320, -1, 1}, {1281, -1, -1}};
    for (const Case& c : cases) {
        WriteWhole(path, earlier);
        int steps = 0;
        const bool written = WriteAviClip(
            path, c.width, 240, 4,
            [&](int i, std::vector<std::uint8_t>& pixels) {
                pixels.assign(std::size_t(c.width) * 240 * 3 - (i == c.shortAt), std::uint8_t(i));
                return i != c.failAt;
            },
            [&](int, int) { ++steps; });
        ok(!written && ReadWhole(path) == earlier && !FileExists(path + "~part.avi"),
           "width %d failing at %d/%d: written %d, earlier file kept %d, temporary left %d", c.width, c.failAt,
           c.shortAt, written, ReadWhole(path) == earlier, FileExists(path + "~part.avi"));
        ok(steps == std::max(c.failAt, c.shortAt) * (c.width <= 1280), "width %d: %d frames reported", c.width, steps);
    }
}

// ---- Download and transfer through the camera window ----

// What the user saw of one download.
struct DownloadRun {
    std::string result;                  // label 3018 at the end
    std::vector<std::string> questions;  // caption|text of each replace question
    std::string labelAtQuestion;         // label 3018 while the first question was up
    int barAtQuestion = -1;              // bar position * 1000 + range end then
};

BOOL CALLBACK FindOwnedBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || GetWindow(window, GW_OWNER) != search->first || !IsWindowVisible(window))
        return TRUE;
    search->second = window;
    return FALSE;
}

// Presses Download and plays the user: answers each replace question from
// `answers` (IDYES, IDNO, IDCANCEL), waits for the last word, closes the dialog.
DownloadRun Download(HWND window, std::vector<int> answers = {}) {
    DownloadRun run;
    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, kTitle, 5000);
        ok(progress != nullptr, "no progress dialog");
        for (int i = 0; progress && i < 3000; ++i) {
            std::pair<HWND, HWND> box = {progress, nullptr};
            EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&box));
            if (box.second) {
                Sleep(200);  // the bar's posted messages
                HWND bar = GetDlgItem(progress, 3010);
                if (run.questions.empty()) {
                    run.labelAtQuestion = ItemText(progress, 3018);
                    run.barAtQuestion = int(SendMessageA(bar, PBM_GETPOS, 0, 0)) * 1000 +
                                        int(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
                }
                run.questions.push_back(WindowText(box.second) + "|" + MessageText(box.second));
                const int answer = answers.empty() ? IDCANCEL : answers.front();
                if (!answers.empty()) answers.erase(answers.begin());
                PostMessageA(box.second, WM_COMMAND, WPARAM(answer), 0);
                for (int k = 0; k < 100 && IsWindow(box.second); ++k) Sleep(20);
                continue;
            }
            run.result = ItemText(progress, 3018);
            if (run.result.find("Download") == 0) break;
            Sleep(20);
        }
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(window, WM_COMMAND, 3003, 0);
    user.Finish(70000);
    PumpFor(200);
    return run;
}

// "WIDTHxHEIGHT" from a JPEG's first start-of-frame marker, "?" when there is none.
std::string JpegSize(const std::string& bytes) {
    for (std::size_t i = 2; bytes.compare(0, 2, "\xFF\xD8") == 0 && i + 9 < bytes.size(); ++i)
        if (std::uint8_t(bytes[i]) == 0xFF && std::uint8_t(bytes[i + 1]) == 0xC0)
            return std::to_string(std::uint8_t(bytes[i + 7]) << 8 | std::uint8_t(bytes[i + 8])) + "x" +
                   std::to_string(std::uint8_t(bytes[i + 5]) << 8 | std::uint8_t(bytes[i + 6]));
    return "?";
}

// The picture folder: "NAME:WIDTHxHEIGHT" for a JPEG, "NAME:old" for a file
// holding `earlier`, "NAME:?" otherwise, in name order, space-separated.
std::string Folder(const Stage& s, const std::string& earlier = "") {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(s.File("pictures\\*").c_str(), &entry);
    while (find != INVALID_HANDLE_VALUE) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
        if (!FindNextFileA(find, &entry)) break;
    }
    FindClose(find);
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) {
        const std::string bytes = ReadWhole(s.File(("pictures\\" + name).c_str()));
        listing += (listing.empty() ? "" : " ") + name + ":" + (bytes == earlier ? "old" : JpegSize(bytes));
    }
    return listing;
}

// Opens the window with the store and settings given and waits for its
// refresh. The progress label's key 34 reads "Copying" unless `keepLabel`.
HWND OpenIdle(Stage& s, const char* scenes, const std::string& settings, bool keepLabel = false) {
    gCam.reset();
    gCam.loadScenes(scenes);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n" + settings + "[" + Section() + "]\r\n33=" + kTitle +
               (keepLabel ? "\r\n" : "\r\n34=Copying\r\n"));
    const HWND window = s.Open();
    ok(window && WaitIdle(window), "the camera window did not finish its refresh");
    return window;
}

// Numbering from Next = 7 and the three answers to the replace question,
// one download each of two stills (640 x 480, 320 x 240); a name that
// cannot be written (a folder of that name, replaced on request) is not
// counted, for either still.
void TestNumbering() {
    Stage s("download-names-", true, true);
    if (!s.Load()) return;
    const std::string earlier = "earlier file";
    struct Case {
        const char* what;
        std::vector<const char*> present;  // holding `earlier`; a name ending in "/" is a folder
        std::vector<int> answers;
        const char* folder;  // afterwards
        const char* next;
        const char* result;
        const char* label;  // label and bar at the question
        int bar;
    } cases[] = {
        {"empty folder", {}, {}, "DSC00007.jpg:640x480 DSC00008.jpg:320x240", "9", "Download succeed.", "", -1},
        {"No", {"DSC00007.jpg", "DSC00009.jpg"}, {IDNO},
         "DSC00007.jpg:old DSC00008.jpg:640x480 DSC00009.jpg:old DSC00010.jpg:320x240", "11", "Download succeed.",
         "Copying (0/2)", 2},
        {"Yes", {"DSC00007.jpg", "DSC00008.jpg"}, {IDYES}, "DSC00007.jpg:640x480 DSC00008.jpg:320x240", "9",
         "Download succeed.", "Copying (0/2)", 2},
        {"Cancel", {"DSC00008.jpg"}, {IDCANCEL}, "DSC00007.jpg:640x480 DSC00008.jpg:old", "8", "Download Error",
         "Copying (1/2)", 1002},
        {"unwritable", {"DSC00007.jpg/"}, {IDYES}, "", "7", "Download Error", "Copying (0/2)", 2},
    };
    for (const Case& c : cases) {
        Stage::RemoveTree(s.File("pictures"));
        CreateDirectoryA(s.File("pictures").c_str(), nullptr);
        for (std::string name : c.present) {
            const std::string path = s.File(("pictures\\" + name).c_str());
            if (name.back() == '/')
                CreateDirectoryA(path.substr(0, path.size() - 1).c_str(), nullptr);
            else
                WriteWhole(path, earlier);
        }
        const HWND window = OpenIdle(s, "still:640:chart,still:320:bars", "Next=7\r\n");
        const DownloadRun run = Download(window, c.answers);
        ok(run.result == c.result, "%s: ended with \"%s\", expected \"%s\"", c.what, run.result.c_str(), c.result);
        ok(Folder(s, earlier) == c.folder, "%s: folder \"%s\", expected \"%s\"", c.what, Folder(s, earlier).c_str(),
           c.folder);
        ok(s.Setting("Next") == c.next, "%s: Next %s, expected %s", c.what, s.Setting("Next").c_str(), c.next);
        ok(run.questions.size() == c.answers.size(), "%s: %d questions", c.what, int(run.questions.size()));
        if (!run.questions.empty()) {
            std::string asked = std::string(kTitle) + "|" + s.File("pictures\\") + c.present[0];
            if (asked.back() == '/') asked.pop_back();
            ok(run.questions[0].compare(0, asked.size(), asked) == 0, "%s: asked \"%s\"", c.what,
               run.questions[0].c_str());
            ok(run.labelAtQuestion == c.label && run.barAtQuestion == c.bar,
               "%s: label \"%s\", bar %d at the question, expected \"%s\" %d", c.what, run.labelAtQuestion.c_str(),
               run.barAtQuestion, c.label, c.bar);
        }
        CloseWindow(window, IDCANCEL);
    }
}

// A frame of the camera developed by the staged Prism.dll with BufToBmp: its pixels.
std::string Developed(const Stage& s, int entry, int width, int height) {
    const CameraOps& o = gCam.ops;
    std::uint16_t count = 0;
    std::uint8_t *header = nullptr, *frame = nullptr;
    std::uint32_t bytes = 0;
    if (!o.OpenCamera() || !o.ReadDirectory(&count, &header) || !o.ReadFrame(entry, &frame, &bytes)) return "";
    std::vector<std::uint8_t> raw(frame, frame + bytes);
    o.CloseCamera();
    raw.resize(std::size_t(width) * height + 128);
    using BufToBmpFn = int(__stdcall*)(int, int, const unsigned char*, const char*, int, int);
    auto bufToBmp = platform::FindEntryAs<BufToBmpFn>(GetModuleHandleA(s.File("Prism.dll").c_str()), "BufToBmp");
    if (!bufToBmp || !bufToBmp(width, height, raw.data(), s.File("developed.bmp").c_str(), 0, 0)) return "";
    return ReadWhole(s.File("developed.bmp")).substr(54);
}

// A 10-frame clip becomes an AVI that Wine's reader plays back frame for
// frame, each the BufToBmp development of the camera's frame. A clip whose
// frame file is lost after the refresh leaves no AVI (nor a part of one)
// and takes no number: the still after it gets it, and the download ends
// in the error message.
void TestClips() {
    Stage s("download-clip-", true, true);
    if (!s.Load()) return;
    HWND window = OpenIdle(s, "clip:320:wedge:10", "");
    DownloadRun run = Download(window);
    AviReadBack avi(s.File("pictures\\DSC00001.avi"));
    ok(run.result == "Download succeed." && avi.Holds(320, 240, 10), "the clip ended with \"%s\": %s",
       run.result.c_str(), avi.Describe().c_str());
    int same = 0;
    for (int i = 0; i < int(avi.frames.size()); ++i) same += avi.frames[std::size_t(i)] == Developed(s, i, 320, 240);
    ok(same == 10, "%d of 10 clip frames equal their BufToBmp development", same);
    ok(s.Setting("Next") == "2", "Next %s after one clip, expected 2", s.Setting("Next").c_str());
    CloseWindow(window, IDCANCEL);

    window = OpenIdle(s, "still:320:bars,clip:320:wedge:3,still:320:chart", "Next=1\r\n");
    Stage::RemoveTree(s.File("pictures"));
    CreateDirectoryA(s.File("pictures").c_str(), nullptr);
    // The refresh names the frame files in order: the clip's last is the fourth.
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(TempFile("__VEXACAM_*__.tmp").c_str(), &entry);
    while (find != INVALID_HANDLE_VALUE) {
        names.push_back(entry.cFileName);
        if (!FindNextFileA(find, &entry)) break;
    }
    FindClose(find);
    std::sort(names.begin(), names.end());
    ok(names.size() == 5 && DeleteFileA(TempFile(names[3].c_str()).c_str()), "%d frame files, expected 5",
       int(names.size()));
    run = Download(window);
    ok(run.result == "Download Error", "a failed clip ended with \"%s\"", run.result.c_str());
    ok(Folder(s) == "DSC00001.jpg:320x240 DSC00002.jpg:320x240" && s.Setting("Next") == "3",
       "after a failed clip: folder \"%s\", Next %s", Folder(s).c_str(), s.Setting("Next").c_str());
    CloseWindow(window, IDCANCEL);
}

// Software enlarge: a 640 x 480 still becomes a 1280 x 960 JPEG and DIB, a
// 320 x 240 one stays, a clip's frames are never enlarged; Prism's flag is
// off afterwards. The transfer hands SimCam one DIB per still and per clip
// frame, headers filled in, unlocked.
void TestEnlargeAndTransfer() {
    Stage s("download-enlarge-", true, true);
    WriteWhole(s.File("TWain01.ini"), "[IPVEXA]\r\nOPVEXA=CN\r\n");
    if (!s.Load()) return;
    auto take = platform::FindEntryAs<decltype(&SimCamTakeTransferred)>(GetModuleHandleA("SimCam.dll"),
                                                                          "SimCamTakeTransferred");
    auto getSE = platform::FindEntryAs<int(__stdcall*)()>(GetModuleHandleA(s.File("Prism.dll").c_str()), "GetSEOnOff");
    const HWND window = OpenIdle(s, "still:640:chart,still:320:bars,clip:640:ramp:2", "Enlarge=1\r\nEnlargeOnOff=1\r\n");
    const DownloadRun run = Download(window);
    const AviReadBack clip(s.File("pictures\\DSC00003.avi"));
    ok(run.result == "Download succeed." && Folder(s) == "DSC00001.jpg:1280x960 DSC00002.jpg:320x240 DSC00003.avi:?",
       "enlarged download ended with \"%s\": \"%s\"", run.result.c_str(), Folder(s).c_str());
    ok(clip.Holds(640, 480, 2), "the clip: %s", clip.Describe().c_str());
    ok(getSE && getSE() == 0, "software enlarge left on after the download");

    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, kTitle, 5000);
        for (int i = 0; i < 3000 && IsWindow(progress); ++i) Sleep(20);
    });
    PostMessageA(window, WM_COMMAND, 3021, 0);
    user.Finish(70000);
    PumpFor(300);
    HGLOBAL images[8] = {};
    const int count = take ? take(images, 8) : 0;
    ok(count == 4, "SimCam took %d images, expected 4", count);
    const int sizes[4][2] = {{1280, 960}, {320, 240}, {640, 480}, {640, 480}};
    for (int i = 0; i < count && i < 4; ++i) {
        const UINT flags = GlobalFlags(images[i]);
        const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(images[i]));
        const DWORD pixels = DWORD(sizes[i][0]) * DWORD(sizes[i][1]) * 3;
        ok(h && h->biSize == 40 && h->biWidth == sizes[i][0] && h->biHeight == sizes[i][1] && h->biBitCount == 24 &&
               h->biPlanes == 1 && h->biSizeImage == pixels && GlobalSize(images[i]) >= 40 + pixels && flags == 0,
           "image %d: %ldx%ld, %d bits, image size %lu, lock flags %#x; expected %dx%d", i, h ? h->biWidth : 0,
           h ? h->biHeight : 0, h ? h->biBitCount : 0, h ? h->biSizeImage : 0, flags, sizes[i][0], sizes[i][1]);
        GlobalUnlock(images[i]);
        GlobalFree(images[i]);
    }
    ok(getSE && getSE() == 0, "software enlarge left on after the transfer");
    PostMessageA(window, kMsgTransferDone, 0, 0);
    ok(PumpUntil([&] { return !IsWindow(window); }, 5000), "the window did not close after the transfer");
}

// A closing request while the replace question is up: the window, the
// dialog and the question go, the worker ends, and the library unloads.
// Without key 34 the label keeps its template text meanwhile.
void TestCloseDuringQuestion() {
    Stage s("download-close-", true, true);
    if (!s.Load()) return;
    CreateDirectoryA(s.File("pictures").c_str(), nullptr);
    WriteWhole(s.File("pictures\\DSC00001.jpg"), "earlier");
    const HWND window = OpenIdle(s, "still:640:chart,still:320:bars", "", true);
    HWND question = nullptr;
    std::string label = "?";
    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, kTitle, 5000);
        for (int i = 0; progress && i < 250 && !question; ++i) {
            std::pair<HWND, HWND> box = {progress, nullptr};
            EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&box));
            question = box.second;
            Sleep(20);
        }
        label = ItemText(progress, 3018);
        PostMessageA(FindWindowA(kHideClass, nullptr), kMsgCloseRequest, 0, 0);
    });
    PostMessageA(window, WM_COMMAND, 3003, 0);
    user.Finish(10000);
    ok(question != nullptr && label.empty(), "replace question %p, label \"%s\" at it", static_cast<void*>(question),
       label.c_str());
    ok(PumpUntil([&] { return !IsWindow(window) && !IsWindow(question); }, 5000),
       "after the closing request: window %d, question %d", IsWindow(window), IsWindow(question));
    s.Unload();
    ok(s.Gone(15000), "Vantage.dll stayed loaded");
    ok(ReadWhole(s.File("pictures\\DSC00001.jpg")) == "earlier", "the file in question was changed");
}

}  // namespace

int main(int argc, char** argv) {
    if (!vantage_stage::StartUp(argc, argv)) return argc < 6 ? 2 : wine_test::Finish();
    using vantage_stage::Run;
    Run("TestClipWriter", [] { TestClipWriter(); });
    Run("TestNumbering", [] { TestNumbering(); });
    Run("TestClips", [] { TestClips(); });
    Run("TestEnlargeAndTransfer", [] { TestEnlargeAndTransfer(); });
    Run("TestCloseDuringQuestion", [] { TestCloseDuringQuestion(); });
    return wine_test::Finish();
}
