// Download and transfer as the data source and the user meet them: the clip
// writer on its own, then Vantage.dll staged with its companions, opened with
// SimCam.dll's operations, its Download and Transfer commands run through the
// progress dialog. Files are read back as a user's program would: AVI clips
// through Wine's own AVI reader, JPEG sizes from their frame headers, the
// transferred images from SimCam.
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

// An AVI file as Video for Windows reads it back.
struct AviReadBack {
    bool opened = false;
    AVISTREAMINFOA info = {};
    BITMAPINFOHEADER format = {};
    std::vector<std::vector<std::uint8_t>> frames;  // the samples at 0, 8, 16, ...
    int keyFrames = 0;                              // of those, how many are key frames
    int filledGaps = 0;                             // samples between them that hold data

    explicit AviReadBack(const std::string& path) {
        AVIFileInit();
        PAVIFILE file = nullptr;
        PAVISTREAM stream = nullptr;
        if (AVIFileOpenA(&file, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) == AVIERR_OK &&
            AVIFileGetStream(file, &stream, streamtypeVIDEO, 0) == AVIERR_OK) {
            opened = true;
            AVIStreamInfoA(stream, &info, sizeof info);
            LONG size = sizeof format;
            AVIStreamReadFormat(stream, 0, &format, &size);
            const LONG end = AVIStreamEnd(stream);
            for (LONG pos = 0; pos < end; ++pos) {
                std::vector<std::uint8_t> sample(std::size_t(format.biSizeImage) + 16);
                LONG bytes = 0, samples = 0;
                if (AVIStreamRead(stream, pos, 1, sample.data(), LONG(sample.size()), &bytes, &samples) != AVIERR_OK)
                    bytes = 0;
                sample.resize(std::size_t(bytes));
                if (pos % 8 == 0) {
                    frames.push_back(sample);
                    keyFrames += AVIStreamFindSample(stream, pos, FIND_KEY | FIND_PREV) == pos;
                } else {
                    filledGaps += bytes > 0;
                }
            }
        }
        if (stream) AVIStreamRelease(stream);
        if (file) AVIFileRelease(file);
        AVIFileExit();
    }
};

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

// Frame i of a made-up clip: every byte tells frame, row and column apart.
std::vector<std::uint8_t> MadeUpFrame(int i, int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    for (std::size_t b = 0; b < pixels.size(); ++b) pixels[b] = std::uint8_t(b * 7 + std::size_t(i) * 31 + b / 97);
    return pixels;
}

// The writer on its own, as the enlarged view calls it: a whole clip reads
// back frame for frame at positions 8 * i; one that fails part-way leaves
// neither a file nor its temporary, and an earlier file of that name intact.
void TestClipWriter() {
    Stage s("download-avi-", false, false);
    struct Case {
        int width, height, frames, failAt;
    } cases[] = {{320, 240, 10, -1}, {64, 48, 1, -1}, {320, 240, 4, 2}, {640, 480, 3, 0}};
    for (const Case& c : cases) {
        const std::string path = s.File("clip.avi");
        const std::string earlier = "an earlier clip";
        WriteWhole(path, earlier);
        std::vector<int> progress;
        const bool written = WriteAviClip(
            path, c.width, c.height, c.frames,
            [&](int i, std::vector<std::uint8_t>& pixels) {
                if (i == c.failAt) return false;
                pixels = MadeUpFrame(i, c.width, c.height);
                return true;
            },
            [&](int done, int total) { progress.push_back(done * 100 + total); });
        const bool part = FileExists(path + "~part.avi");
        ok(!part, "%dx%d/%d: the temporary file was left behind", c.width, c.height, c.frames);
        if (c.failAt >= 0) {
            ok(!written, "%dx%d failing at frame %d reported success", c.width, c.height, c.failAt);
            ok(ReadWhole(path) == earlier, "%dx%d failing at frame %d: the earlier file changed", c.width, c.height,
               c.failAt);
            ok(int(progress.size()) == c.failAt, "failing at frame %d: %d progress steps", c.failAt,
               int(progress.size()));
            continue;
        }
        ok(written, "%dx%d/%d not written", c.width, c.height, c.frames);
        ok(progress.size() == std::size_t(c.frames) && progress.back() == c.frames * 101,
           "%d frames: %d progress steps, last %d", c.frames, int(progress.size()), progress.empty() ? 0 : progress.back());
        AviReadBack avi(path);
        ok(avi.opened, "%dx%d/%d: the AVI reader cannot open the clip", c.width, c.height, c.frames);
        if (!avi.opened) continue;
        const AVISTREAMINFOA& info = avi.info;
        ok(info.fccType == streamtypeVIDEO && info.dwScale == 30 && info.dwRate == 1200,
           "stream type %.4s scale %lu rate %lu, expected vids 30 1200", reinterpret_cast<const char*>(&info.fccType),
           info.dwScale, info.dwRate);
        ok(info.dwLength == DWORD(8 * (c.frames - 1) + 1), "stream length %lu, expected %d", info.dwLength,
           8 * (c.frames - 1) + 1);
        ok(info.rcFrame.right == c.width && info.rcFrame.bottom == c.height, "frame rectangle %ldx%ld",
           info.rcFrame.right, info.rcFrame.bottom);
        ok(avi.format.biWidth == c.width && avi.format.biHeight == c.height && avi.format.biBitCount == 24 &&
               avi.format.biCompression == BI_RGB,
           "format %ldx%ld, %d bits, compression %lu", avi.format.biWidth, avi.format.biHeight, avi.format.biBitCount,
           avi.format.biCompression);
        ok(int(avi.frames.size()) == c.frames && avi.keyFrames == c.frames && avi.filledGaps == 0,
           "%d samples at 8 * i (%d key frames), %d filled between, expected %d", int(avi.frames.size()),
           avi.keyFrames, avi.filledGaps, c.frames);
        int same = 0;
        for (int i = 0; i < int(avi.frames.size()); ++i) same += avi.frames[std::size_t(i)] == MadeUpFrame(i, c.width, c.height);
        ok(same == c.frames, "%d of %d frames read back unchanged", same, c.frames);
    }
    ok(!WriteAviClip(s.File("big.avi"), 1281, 960, 1, [](int, std::vector<std::uint8_t>&) { return true; }) &&
           !FileExists(s.File("big.avi")),
       "a frame wider than 1280 was accepted");
    ok(!WriteAviClip(s.File("small.avi"), 64, 48, 1,
                     [](int, std::vector<std::uint8_t>& p) {
                         p.assign(100, 0);
                         return true;
                     }) &&
           !FileExists(s.File("small.avi")),
       "a frame of the wrong size was written");
}


// ---- Download and transfer through the camera window ----

constexpr const char* kTitle = "Working";  // key 33: the progress dialog and the replace question

// What the user saw of one download.
struct DownloadRun {
    std::string result;                  // label 3018 at the end
    std::vector<std::string> questions;  // the replace questions, in order
    std::vector<std::string> labels;     // label 3018 while each question was up
    std::vector<int> bars;               // bar position * 1000 + range end at each question
};

struct OwnedSearch {
    HWND owner, found;
};
BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedSearch*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// Presses Download and plays the user: answers each replace question from
// `answers` (IDYES, IDNO, IDCANCEL), waits for the last word, closes the dialog.
DownloadRun Download(HWND window, std::vector<int> answers = {}) {
    DownloadRun run;
    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, kTitle, 5000);
        ok(progress != nullptr, "no progress dialog");
        if (!progress) return;
        for (int i = 0; i < 3000; ++i) {
            OwnedSearch search = {progress, nullptr};
            EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                Sleep(200);  // the bar's posted messages
                HWND bar = GetDlgItem(progress, 3010);
                run.questions.push_back(WindowText(search.found) + "|" + MessageText(search.found));
                run.labels.push_back(ItemText(progress, 3018));
                run.bars.push_back(int(SendMessageA(bar, PBM_GETPOS, 0, 0)) * 1000 +
                                   int(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)));
                const int answer = answers.empty() ? IDCANCEL : answers.front();
                if (!answers.empty()) answers.erase(answers.begin());
                PostMessageA(search.found, WM_COMMAND, WPARAM(answer), 0);
                for (int k = 0; k < 100 && IsWindow(search.found); ++k) Sleep(20);
                continue;
            }
            run.result = ItemText(progress, 3018);
            if (run.result.find("Download") == 0 || run.result == "No Picture.") break;
            Sleep(20);
        }
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(window, WM_COMMAND, 3003, 0);
    user.Finish(70000);
    PumpFor(200);
    return run;
}

// Width and height from a JPEG's first start-of-frame marker; 0 x 0 when none.
std::pair<int, int> JpegSize(const std::string& path) {
    const std::string b = ReadWhole(path);
    for (std::size_t i = 2; i + 9 < b.size(); ++i)
        if (std::uint8_t(b[i]) == 0xFF && std::uint8_t(b[i + 1]) == 0xC0)
            return {std::uint8_t(b[i + 7]) << 8 | std::uint8_t(b[i + 8]), std::uint8_t(b[i + 5]) << 8 | std::uint8_t(b[i + 6])};
    return {0, 0};
}

bool IsJpeg(const std::string& path) { return ReadWhole(path).compare(0, 2, "\xFF\xD8") == 0; }

// Opens the window with the store and settings given and waits for its refresh.
HWND OpenIdle(Stage& s, const char* scenes, const std::string& settings) {
    gCam.reset();
    gCam.loadScenes(scenes);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n" + settings + "[" + Section() + "]\r\n33=" + kTitle +
               "\r\n34=Copying\r\n");
    const HWND window = s.Open();
    ok(window && WaitIdle(window), "the camera window did not finish its refresh");
    return window;
}

std::string Picture(const Stage& s, const char* name) { return s.File("pictures") + "\\" + name; }

// Numbering from Next and the three answers to the replace question, one
// download each over two stills (640 x 480, 320 x 240).
void TestNumbering() {
    Stage s("download-names-", true, true);
    if (!s.Load()) return;
    const std::string earlier = "earlier file";
    struct Case {
        const char* what;
        std::vector<const char*> present;  // files there before, holding `earlier`
        std::vector<int> answers;
        const char* written;   // names that now hold JPEG files, in item order
        const char* kept;      // names that still hold `earlier`
        const char* next;      // Next afterwards
        const char* result;
        const char* label;     // label 3018 at the question
        int bar;               // bar position * 1000 + range end at the question
    } cases[] = {
        {"empty folder", {}, {}, "DSC00007.jpg DSC00008.jpg", "", "9", "Download succeed.", "", 0},
        {"No", {"DSC00007.jpg", "DSC00009.jpg"}, {IDNO}, "DSC00008.jpg DSC00010.jpg", "DSC00007.jpg DSC00009.jpg",
         "11", "Download succeed.", "Copying (0/2)", 2},
        {"Yes", {"DSC00007.jpg", "DSC00008.jpg"}, {IDYES}, "DSC00007.jpg DSC00008.jpg", "", "9", "Download succeed.",
         "Copying (0/2)", 2},
        {"Cancel", {"DSC00008.jpg"}, {IDCANCEL}, "DSC00007.jpg", "DSC00008.jpg", "8", "Download Error",
         "Copying (1/2)", 1002},
    };
    for (const Case& c : cases) {
        Stage::RemoveTree(s.File("pictures"));
        CreateDirectoryA(s.File("pictures").c_str(), nullptr);
        for (const char* name : c.present) WriteWhole(Picture(s, name), earlier);
        const HWND window = OpenIdle(s, "still:640:chart,still:320:bars", "Next=7\r\n");
        const DownloadRun run = Download(window, c.answers);
        ok(run.result == c.result, "%s: the download ended with \"%s\", expected \"%s\"", c.what, run.result.c_str(),
           c.result);
        ok(run.questions.size() == c.answers.size(), "%s: %d questions, expected %d", c.what, int(run.questions.size()),
           int(c.answers.size()));
        if (!run.questions.empty()) {
            const std::string asked = std::string(kTitle) + "|" + Picture(s, c.present[0]);
            ok(run.questions[0].compare(0, asked.size(), asked) == 0, "%s: asked \"%s\", expected it to start \"%s\"",
               c.what, run.questions[0].c_str(), asked.c_str());
            ok(run.labels[0] == c.label && run.bars[0] == c.bar, "%s: label \"%s\" bar %d at the question, expected \"%s\" %d",
               c.what, run.labels[0].c_str(), run.bars[0], c.label, c.bar);
        }
        ok(s.Setting("Next") == c.next, "%s: Next %s, expected %s", c.what, s.Setting("Next").c_str(), c.next);
        char written[2][16] = {}, kept[2][16] = {};
        const int nWritten = std::sscanf(c.written, "%15s %15s", written[0], written[1]);
        const int nKept = std::sscanf(c.kept, "%15s %15s", kept[0], kept[1]);
        const std::pair<int, int> sizes[] = {{640, 480}, {320, 240}};
        for (int i = 0; i < nWritten; ++i) {
            const std::pair<int, int> size = JpegSize(Picture(s, written[i]));
            ok(IsJpeg(Picture(s, written[i])) && size == sizes[i], "%s: %s is %dx%d, expected a %dx%d JPEG", c.what,
               written[i], size.first, size.second, sizes[i].first, sizes[i].second);
        }
        for (int i = 0; i < nKept; ++i)
            ok(ReadWhole(Picture(s, kept[i])) == earlier, "%s: %s was changed", c.what, kept[i]);
        WIN32_FIND_DATAA entry;
        int files = 0;
        HANDLE find = FindFirstFileA((s.File("pictures") + "\\*").c_str(), &entry);
        while (find != INVALID_HANDLE_VALUE) {
            files += !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            if (!FindNextFileA(find, &entry)) break;
        }
        FindClose(find);
        ok(files == std::max(nWritten, 0) + std::max(nKept, 0), "%s: %d files in the folder", c.what, files);
        CloseWindow(window, IDCANCEL);
    }
}


// The raw frames of the simulated camera's entries, as a refresh reads them.
std::vector<std::vector<std::uint8_t>> CameraFrames() {
    std::vector<std::vector<std::uint8_t>> frames;
    const CameraOps& o = gCam.ops;
    std::uint16_t count = 0;
    std::uint8_t* header = nullptr;
    if (!o.OpenCamera() || !o.ReadDirectory(&count, &header)) return frames;
    for (int i = 0; i < count; ++i) {
        std::uint8_t* frame = nullptr;
        std::uint32_t bytes = 0;
        o.ReadFrame(i, &frame, &bytes);
        frames.emplace_back(frame, frame + bytes);
        frames.back().resize(bytes + 128);
    }
    o.CloseCamera();
    return frames;
}

// A frame developed by the staged Prism.dll with BufToBmp: its pixels (byte 54 on).
std::string Developed(const Stage& s, const std::vector<std::uint8_t>& raw, int width, int height) {
    using BufToBmpFn = int(__stdcall*)(int, int, const unsigned char*, const char*, int, int);
    HMODULE prism = GetModuleHandleA(s.File("Prism.dll").c_str());
    auto bufToBmp = prism ? platform::FindEntryAs<BufToBmpFn>(prism, "BufToBmp") : nullptr;
    if (!bufToBmp) return "";
    const std::string path = s.File("developed.bmp");
    bufToBmp(width, height, raw.data(), path.c_str(), 0, 0);
    return ReadWhole(path).substr(54);
}

// A 10-frame clip becomes an AVI that Wine's reader plays back frame for
// frame: each the BufToBmp development of the camera's frame.
void TestClipDownload() {
    Stage s("download-clip-", true, true);
    if (!s.Load()) return;
    const HWND window = OpenIdle(s, "clip:320:wedge:10", "");
    const DownloadRun run = Download(window);
    ok(run.result == "Download succeed.", "the clip's download ended with \"%s\"", run.result.c_str());
    const std::string path = Picture(s, "DSC00001.avi");
    AviReadBack avi(path);
    ok(avi.opened && avi.info.dwLength == 73 && avi.info.dwRate == 1200 && avi.info.dwScale == 30 &&
           avi.keyFrames == 10 && avi.frames.size() == 10,
       "%s: opened %d, length %lu, rate %lu/%lu, %d key frames of %d", path.c_str(), avi.opened, avi.info.dwLength,
       avi.info.dwRate, avi.info.dwScale, avi.keyFrames, int(avi.frames.size()));
    ok(avi.format.biWidth == 320 && avi.format.biHeight == 240 && avi.format.biCompression == BI_RGB,
       "format %ldx%ld compression %lu", avi.format.biWidth, avi.format.biHeight, avi.format.biCompression);
    const auto raws = CameraFrames();
    int same = 0;
    for (std::size_t i = 0; i < avi.frames.size() && i < raws.size(); ++i) {
        const std::string expected = Developed(s, raws[i], 320, 240);
        same += !expected.empty() && std::string(avi.frames[i].begin(), avi.frames[i].end()) == expected;
    }
    ok(same == 10, "%d of 10 clip frames equal their BufToBmp development", same);
    ok(s.Setting("Next") == "2", "Next %s after one clip, expected 2", s.Setting("Next").c_str());
    CloseWindow(window, IDCANCEL);
}

// A clip whose frame cannot be developed part-way is not counted: no AVI
// (nor a part of one) is left, its number goes to the next still, the other
// stills download and the download ends in the error message. A still
// that cannot be written takes no number either.
void TestFailedWrite() {
    {
        Stage s("download-fail-", true, true);
        if (!s.Load()) return;
        const HWND window = OpenIdle(s, "still:320:bars,clip:320:wedge:3,still:320:chart", "");
        // The clip's last frame file (the refresh names them in order) is lost.
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA(TempFile("__VEXACAM_*__.tmp").c_str(), &entry);
        while (find != INVALID_HANDLE_VALUE) {
            names.push_back(entry.cFileName);
            if (!FindNextFileA(find, &entry)) break;
        }
        FindClose(find);
        std::sort(names.begin(), names.end());
        ok(names.size() == 5, "%d frame files after the refresh, expected 5", int(names.size()));
        if (names.size() == 5) DeleteFileA(TempFile(names[3].c_str()).c_str());
        const DownloadRun run = Download(window);
        ok(run.result == "Download Error", "a failed clip ended with \"%s\"", run.result.c_str());
        ok(JpegSize(Picture(s, "DSC00001.jpg")).first == 320 && JpegSize(Picture(s, "DSC00002.jpg")).first == 320,
           "the two stills are not DSC00001.jpg and DSC00002.jpg");
        ok(!FileExists(Picture(s, "DSC00002.avi")) && !FileExists(Picture(s, "DSC00002.avi~part.avi")) &&
               !FileExists(Picture(s, "DSC00003.jpg")),
           "the failed clip left a file or used a number");
        ok(s.Setting("Next") == "3", "Next %s, expected 3", s.Setting("Next").c_str());
        CloseWindow(window, IDCANCEL);
    }
    // A folder of the still's name, replaced on request: BufToJpg cannot write
    // there, for either still, and nothing is counted.
    Stage s("download-nowrite-", true, true);
    if (!s.Load()) return;
    CreateDirectoryA(s.File("pictures").c_str(), nullptr);
    CreateDirectoryA(Picture(s, "DSC00005.jpg").c_str(), nullptr);
    const HWND window = OpenIdle(s, "still:640:chart,still:320:bars", "Next=5\r\n");
    const DownloadRun run = Download(window, {IDYES});
    ok(run.result == "Download Error" && run.questions.size() == 1,
       "an unwritable name: the download ended with \"%s\" after %d questions", run.result.c_str(),
       int(run.questions.size()));
    ok(!FileExists(Picture(s, "DSC00006.jpg")) && s.Setting("Next") == "5", "an unwritable name: a file, or Next %s",
       s.Setting("Next").c_str());
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
    HMODULE simcam = GetModuleHandleA("SimCam.dll");
    auto takeTransferred = platform::FindEntryAs<decltype(&SimCamTakeTransferred)>(simcam, "SimCamTakeTransferred");
    using GetSEFn = int(__stdcall*)();
    auto getSE = platform::FindEntryAs<GetSEFn>(GetModuleHandleA(s.File("Prism.dll").c_str()), "GetSEOnOff");
    const char* scenes = "still:640:chart,still:320:bars,clip:640:ramp:2";
    const std::string enlarge = "Enlarge=1\r\nEnlargeOnOff=1\r\n";
    HWND window = OpenIdle(s, scenes, enlarge);
    const DownloadRun run = Download(window);
    ok(run.result == "Download succeed.", "enlarged download ended with \"%s\"", run.result.c_str());
    const std::pair<int, int> big = JpegSize(Picture(s, "DSC00001.jpg")), small = JpegSize(Picture(s, "DSC00002.jpg"));
    ok(big == std::make_pair(1280, 960) && small == std::make_pair(320, 240), "stills %dx%d and %dx%d, expected 1280x960 and 320x240",
       big.first, big.second, small.first, small.second);
    AviReadBack clip(Picture(s, "DSC00003.avi"));
    ok(clip.format.biWidth == 640 && clip.frames.size() == 2, "the clip is %ld wide with %d frames, expected 640 and 2",
       clip.format.biWidth, int(clip.frames.size()));
    ok(getSE && getSE() == 0, "software enlarge left on after the download");

    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, kTitle, 5000);
        for (int i = 0; i < 3000 && IsWindow(progress); ++i) Sleep(20);
    });
    PostMessageA(window, WM_COMMAND, 3021, 0);
    user.Finish(70000);
    PumpFor(300);
    HGLOBAL images[8] = {};
    const int count = takeTransferred ? takeTransferred(images, 8) : 0;
    ok(count == 4, "SimCam took %d images, expected 4", count);
    const int sizes[4][2] = {{1280, 960}, {320, 240}, {640, 480}, {640, 480}};
    for (int i = 0; i < count && i < 4; ++i) {
        const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(images[i]));
        const SIZE_T bytes = GlobalSize(images[i]);
        const DWORD pixels = DWORD(sizes[i][0]) * DWORD(sizes[i][1]) * 3;
        ok(h && h->biSize == 40 && h->biWidth == sizes[i][0] && h->biHeight == sizes[i][1] && h->biBitCount == 24 &&
               h->biPlanes == 1 && h->biSizeImage == pixels && bytes >= 40 + pixels,
           "image %d: %ldx%ld, %d bits, image size %lu in %lu bytes; expected %dx%d", i, h ? h->biWidth : 0,
           h ? h->biHeight : 0, h ? h->biBitCount : 0, h ? h->biSizeImage : 0, DWORD(bytes), sizes[i][0], sizes[i][1]);
        if (h) GlobalUnlock(images[i]);
        ok(GlobalFlags(images[i]) == 0, "image %d is handed over locked (flags %#x)", i, GlobalFlags(images[i]));
        GlobalFree(images[i]);
    }
    ok(getSE && getSE() == 0, "software enlarge left on after the transfer");
    PostMessageA(window, kMsgTransferDone, 0, 0);
    PumpUntil([&] { return !IsWindow(window); }, 5000);
    ok(!IsWindow(window), "the window did not close after the transfer");
}

}  // namespace

int main(int argc, char** argv) {
    if (!vantage_stage::StartUp(argc, argv)) return argc < 6 ? 2 : wine_test::Finish();
    using vantage_stage::Run;
    Run("TestClipWriter", [] { TestClipWriter(); });
    Run("TestNumbering", [] { TestNumbering(); });
    Run("TestClipDownload", [] { TestClipDownload(); });
    Run("TestFailedWrite", [] { TestFailedWrite(); });
    Run("TestEnlargeAndTransfer", [] { TestEnlargeAndTransfer(); });
    return wine_test::Finish();
}
