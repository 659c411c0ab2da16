// Pictor.exe run as a user runs it, from a folder of its own with TWain.ini
// beside it: against a scripted data source manager (a TWAIN_32.DLL placed
// beside the program; the prefix loads it in place of Wine's for Pictor.exe)
// that logs every call, or through Wine's own manager with the simulated
// camera's data source installed (fixture twain_source; its switches in
// SimSource.ini beside it). The shell's "edit" verb for .jpg runs this
// program, which records the file it was given.
//   pictor_test PICTOR_EXE SCRIPTED_TWAIN_DLL [SCENARIO-NAME-PART]
//   pictor_test PICTOR_EXE --through-manager [SCENARIO-NAME-PART]
//   pictor_test record LOG FILE        (the recorder: its start time and FILE)
//   pictor_test PICTOR_EXE --through-manager --hold SECONDS
//       (not a test: Pictor with two unsaved 640 x 480 pictures in view for
//       SECONDS, for scripts/screenshot-pictor.sh)
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ui_test_support.h"
#include "wine_test.h"

namespace {

std::string gPictorExe, gTwainDll, gSelf;
const char* gOnly = nullptr;
int gRestoreMessages = 0;    // 1225 seen by our stand-in camera hide window
int gAnnounceMessages = 0;   // 1224

constexpr DWORD kRunLimitMs = 30000;

std::string ReadText(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const std::string text = ReadText(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void WriteText(const std::string& path, const std::string& text) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

int Count(const std::vector<std::string>& lines, const std::string& line) {
    int n = 0;
    for (const std::string& l : lines) n += l == line;
    return n;
}

// Index of the first line equal to `line` from `from` on, -1 when none.
int Find(const std::vector<std::string>& lines, const std::string& line, int from = 0) {
    for (std::size_t i = std::size_t(from); i < lines.size(); ++i)
        if (lines[i] == line) return int(i);
    return -1;
}

void SetClassesValue(const std::string& key, const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), DWORD(value.size()));
}

std::string CamSetPath() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\CamSet.inf";
}

// JPEG facts: width and height from the frame header, the first luminance
// quantisation value (5 at quality 85, 3 at 90).
struct JpegFacts {
    bool valid = false;
    int width = 0, height = 0, firstQuant = 0;
};

JpegFacts ReadJpeg(const std::string& path) {
    const std::vector<std::uint8_t> b = ReadBytes(path);
    JpegFacts f;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return f;
    for (std::size_t i = 2; i + 9 < b.size(); ++i) {
        if (b[i] != 0xFF) continue;
        if (b[i + 1] == 0xDB && !f.firstQuant) f.firstQuant = b[i + 5];
        if (b[i + 1] == 0xC0) {
            f.height = b[i + 5] << 8 | b[i + 6];
            f.width = b[i + 7] << 8 | b[i + 8];
            f.valid = true;
            break;
        }
    }
    return f;
}

struct WindowSearch {
    DWORD pid;
    const char* cls;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<WindowSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {}, text[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (pid == s->pid && (!s->cls || !lstrcmpA(cls, s->cls)) && (!s->title || !lstrcmpA(text, s->title))) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK CountingHideWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == 1225) ++gRestoreMessages;
    if (m == 1224) ++gAnnounceMessages;
    return DefWindowProcA(w, m, wp, lp);
}

// A folder holding Pictor.exe, the scripted manager and their settings.
struct Stage {
    std::string folder;
    PROCESS_INFORMATION process = {};

    explicit Stage(const char* name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        for (int n = 0;; ++n) {
            folder = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
            if (CreateDirectoryA(folder.c_str(), nullptr)) break;
        }
        CreateDirectoryA(File("pics").c_str(), nullptr);
        CopyFileA(gPictorExe.c_str(), File("Pictor.exe").c_str(), FALSE);
        if (!gTwainDll.empty()) CopyFileA(gTwainDll.c_str(), File("TWAIN_32.DLL").c_str(), FALSE);
        WriteText(File("TWain.ini"), "[IP]\r\nJPEG=90\r\n[Setting]\r\nPath=" + File("pics") + "\r\n");
        // The shell's "edit" for .jpg records into this stage's log.
        SetClassesValue(".jpg", "PictorTest.Picture");
        SetClassesValue("PictorTest.Picture\\shell\\edit\\command",
                        "\"" + gSelf + "\" record \"" + File("launches.log") + "\" \"%1\"");
    }
    ~Stage() {
        Stop();
    }
    std::string File(const char* name) const { return folder + "\\" + name; }
    std::string Picture(int n) const {
        char name[32];
        std::snprintf(name, sizeof name, "pics\\PIC%05d.jpg", n);
        return File(name);
    }
    void Script(const std::string& text) const { WriteText(File("ScriptedDsm.ini"), text); }
    std::vector<std::string> Calls() const { return Lines(ReadText(File("dsm.log"))); }
    // The files the shell was given, in the order of the recorders' starts
    // (they run side by side, so their lines come in any order).
    std::vector<std::string> Launches() const {
        std::vector<std::pair<unsigned long long, std::string>> started;
        for (const std::string& line : Lines(ReadText(File("launches.log")))) {
            const std::size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            started.emplace_back(std::strtoull(line.c_str(), nullptr, 10), line.substr(space + 1));
        }
        std::stable_sort(started.begin(), started.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> files;
        for (const auto& s : started) files.push_back(s.second);
        return files;
    }

    bool Start() {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string command = "\"" + File("Pictor.exe") + "\"";
        const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            folder.c_str(), &startup, &process) != FALSE;
        ok(started, "Pictor.exe did not start (error %lu)", GetLastError());
        return started;
    }
    // Pumps our messages until the program has ended; false when it still runs.
    bool WaitForExit(DWORD ms) {
        if (!process.hProcess) return true;
        return ui_test::PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, ms);
    }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
    // A top-level window of the running program with that class and title.
    HWND Window(const char* className, const char* title) const {
        WindowSearch search = {process.dwProcessId, className, title, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HWND WaitForWindow(const char* className, const char* title, DWORD ms) const {
        HWND found = nullptr;
        ui_test::PumpUntil([&] { return (found = Window(className, title)) != nullptr; }, ms);
        return found;
    }
    void Stop() {
        if (!process.hProcess) return;
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
            if (HWND frame = Window("Pictor.MainFrame", nullptr)) PostMessageA(frame, WM_CLOSE, 0, 0);
            if (!WaitForExit(5000)) TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
};

// Stands in for the camera window's hidden window: counts what Pictor posts.
struct CameraHideWindow {
    HWND hwnd = nullptr;
    CameraHideWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingHideWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VEXA_TWain_HideWnd";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("VEXA_TWain_HideWnd", "VEXA_TWain_HideWnd", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
        gRestoreMessages = gAnnounceMessages = 0;
    }
    ~CameraHideWindow() { DestroyWindow(hwnd); }
};

// Scenarios that lack the optional name part or that the build leaves out
// are not run.
bool Selected(const char* name) {
    if ((gOnly && !std::strstr(name, gOnly)) || wine_test::LeftOut(name)) return false;
    std::printf("scenario: %s\n", name);
    std::fflush(stdout);
    return true;
}

void ThreePicturesInOneConnection() {
    if (!Selected("three pictures")) return;
    DeleteFileA(CamSetPath().c_str());
    Stage stage("pictor-three");
    stage.Script("[Sources]\r\nNames=Alpha,Twain for VEXA\r\n[Source]\r\nImages=3\r\nCloseWhenDone=1\r\n");
    if (!stage.Start()) return;
    ok(stage.WaitForExit(kRunLimitMs), "Pictor did not exit when the source asked to be closed");
    ok(stage.ExitCode() == 0, "exit code %lu", stage.ExitCode());
    for (int n = 1; n <= 3; ++n) {
        const JpegFacts jpeg = ReadJpeg(stage.Picture(n));
        ok(jpeg.valid, "PIC%05d.jpg missing or no JPEG", n);
        // The scripted pictures are 16, 24 and 32 wide, in transfer order.
        ok(jpeg.width == 8 + 8 * n && jpeg.height == 12, "PIC%05d.jpg is %d x %d, expected %d x 12", n, jpeg.width,
           jpeg.height, 8 + 8 * n);
        ok(jpeg.firstQuant == 3, "PIC%05d.jpg quantised as %d, expected 3 (quality 90 from TWain.ini)", n,
           jpeg.firstQuant);
    }
    ok(!Exists(stage.Picture(4)), "a fourth picture was written");
    std::vector<std::string> launches;
    ui_test::PumpUntil([&] { return (launches = stage.Launches()).size() >= 3; }, 10000);
    ok(launches.size() == 3, "%u shell launches, expected 3", unsigned(launches.size()));
    for (std::size_t i = 0; i < launches.size() && i < 3; ++i)
        ok(lstrcmpiA(launches[i].c_str(), stage.Picture(int(i) + 1).c_str()) == 0, "launch %u got %s", unsigned(i),
           launches[i].c_str());
    const std::vector<std::string> calls = stage.Calls();
    ok(Find(calls, "OPENDS Twain for VEXA") > 0, "the source by the default name was not opened");
    ok(Find(calls, "SET 1 5 1 65535") > 0, "transfer count not set to -1 as a 16-bit one-value");
    ok(Find(calls, "ENABLEDS 1") > 0, "source not enabled with its interface");
    ok(Count(calls, "NATIVEXFER 0") == 1 && Count(calls, "NATIVEXFER 2") == 1, "native transfers not one each");
    const int close = Find(calls, "EVENT CLOSEDSREQ");
    ok(close > 0 && Find(calls, "DISABLEDS", close) > close && Find(calls, "CLOSEDS", close) > close &&
           Find(calls, "CLOSEDSM", close) > Find(calls, "CLOSEDS", close),
       "the close request did not disable, close the source, then the manager");
}

void ShellOpenWhenEditIsMissing() {
    if (!Selected("shell open when there is no edit")) return;
    Stage stage("pictor-open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "PictorTest.Picture\\shell\\edit\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "PictorTest.Picture\\shell\\edit");
    SetClassesValue("PictorTest.Picture\\shell\\open\\command",
                    "\"" + gSelf + "\" record \"" + stage.File("launches.log") + "\" \"open %1\"");
    stage.Script("[Source]\r\nImages=1\r\nCloseWhenDone=1\r\n");
    if (stage.Start()) {
        ok(stage.WaitForExit(kRunLimitMs), "Pictor did not exit");
        std::vector<std::string> launches;
        ui_test::PumpUntil([&] { return !(launches = stage.Launches()).empty(); }, 10000);
        ok(launches.size() == 1 && lstrcmpiA(launches[0].c_str(), ("open " + stage.Picture(1)).c_str()) == 0,
           "%u launches, the first %s; expected \"open\" with PIC00001.jpg", unsigned(launches.size()),
           launches.empty() ? "-" : launches[0].c_str());
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "PictorTest.Picture\\shell\\open\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "PictorTest.Picture\\shell\\open");
}

void SourceChoice() {
    struct Case {
        const char* name;
        const char* camSet;  // null: no CamSet.inf
        const char* sources;
        int defaultSource;
        const char* expected;
    } cases[] = {
        {"source named in CamSet.inf", "[TWAIN]\r\nProductName=Beta\r\n", "Alpha,Beta,Gamma", 0, "OPENDS Beta"},
        {"CamSet.inf missing: default name", nullptr, "Alpha,Twain for VEXA", 0, "OPENDS Twain for VEXA"},
        {"no source of that name: default source", "[TWAIN]\r\nProductName=Nobody\r\n", "Alpha,Beta", 1,
         "OPENDS Beta"},
        {"names compared with case", "[TWAIN]\r\nProductName=twain for vexa\r\n", "Twain for VEXA,Alpha", 1,
         "OPENDS Alpha"},
    };
    for (const Case& c : cases) {
        if (!Selected(c.name)) continue;
        if (c.camSet)
            WriteText(CamSetPath(), c.camSet);
        else
            DeleteFileA(CamSetPath().c_str());
        Stage stage("pictor-source");
        stage.Script("[Sources]\r\nNames=" + std::string(c.sources) + "\r\nDefault=" + std::to_string(c.defaultSource) +
                     "\r\n[Source]\r\nCloseWhenDone=1\r\n");
        if (!stage.Start()) continue;
        ok(stage.WaitForExit(kRunLimitMs), "%s: Pictor did not exit", c.name);
        const std::vector<std::string> calls = stage.Calls();
        ok(Count(calls, c.expected) == 1, "%s: %s not logged once", c.name, c.expected);
        DeleteFileA(CamSetPath().c_str());
    }
}

void TransferCountCheckStatus() {
    if (!Selected("transfer count answered with check-status")) return;
    Stage stage("pictor-count");
    stage.Script("[Source]\r\nXferCount=CheckStatus\r\nCurrentCount=5\r\nCloseWhenDone=1\r\n");
    if (!stage.Start()) return;
    ok(stage.WaitForExit(kRunLimitMs), "Pictor did not exit");
    const std::vector<std::string> calls = stage.Calls();
    const int first = Find(calls, "SET 1 5 1 65535");
    const int get = Find(calls, "GET 1 65535", first);
    const int second = Find(calls, "SET 1 5 4 5", get);
    ok(first > 0 && get > first && second > get && Find(calls, "ENABLEDS 1", second) > second,
       "expected set -1 (INT16), read back (DONTCARE16), set 5 (UINT16), enable; got set %d get %d set %d", first, get,
       second);
}

void RefusedImageInformation() {
    if (!Selected("image information refused")) return;
    Stage stage("pictor-info");
    stage.Script("[Source]\r\nImages=2\r\nImageInfo=Fail\r\nCloseWhenDone=1\r\n");
    if (!stage.Start()) return;
    ok(stage.WaitForExit(kRunLimitMs), "Pictor did not exit (a transfer loop that never ends?)");
    const std::vector<std::string> calls = stage.Calls();
    ok(Count(calls, "IMAGEINFO") == 1, "image information asked %d times, expected once", Count(calls, "IMAGEINFO"));
    ok(Find(calls, "RESET") > Find(calls, "IMAGEINFO"), "pending transfers not reset after the refusal");
    ok(Count(calls, "NATIVEXFER 0") == 0, "a transfer was attempted");
    ok(!Exists(stage.Picture(1)), "a picture was saved");
}

void StartWhileCameraWindowOpen() {
    if (!Selected("start while a camera window is open")) return;
    CameraHideWindow camera;
    Stage stage("pictor-camera");
    stage.Script("[Source]\r\nCloseWhenDone=1\r\n");
    if (!stage.Start()) return;
    ok(stage.WaitForExit(10000), "Pictor did not exit");
    ui_test::PumpUntil([] { return gRestoreMessages > 0; }, 2000);
    ok(gRestoreMessages == 1, "%d restore messages (1225), expected 1", gRestoreMessages);
    ok(!Exists(stage.File("dsm.log")), "the data source manager was loaded");
}

void SecondCopy() {
    if (!Selected("second copy")) return;
    Stage first("pictor-first");
    first.Script("[Source]\r\nImages=0\r\n");  // enabled, then idle
    if (!first.Start()) return;
    ok(first.WaitForWindow("VEXA_Pictor_HideWindow", "VEXA_Pictor_HideWindow", 10000) != nullptr,
       "the first copy shows no hidden window");
    ui_test::PumpUntil([&] { return Find(first.Calls(), "ENABLEDS 1") >= 0; }, 10000);
    HWND frame = first.Window("Pictor.MainFrame", nullptr);
    ok(frame && !IsWindowVisible(frame), "the first copy's frame is missing or visible");

    // Only the shared instance counter can stop this one: no camera window exists.
    Stage second("pictor-second");
    second.Script("[Source]\r\nImages=1\r\nCloseWhenDone=1\r\n");
    if (second.Start()) {
        ok(second.WaitForExit(10000), "a second copy kept running");
        ok(!Exists(second.File("dsm.log")), "the second copy opened the data source manager");
    }
    {
        CameraHideWindow camera;
        Stage third("pictor-third");
        if (third.Start()) {
            ok(third.WaitForExit(10000), "a third copy kept running");
            ui_test::PumpUntil([] { return gRestoreMessages > 0; }, 2000);
            ok(gRestoreMessages == 1, "%d restore messages from the extra copy, expected 1", gRestoreMessages);
        }
        // Every acquisition request announces Pictor, even one that fails
        // (the source is enabled already).
        if (frame) PostMessageA(frame, WM_COMMAND, 32771, 0);
        ui_test::PumpUntil([] { return gAnnounceMessages > 0; }, 5000);
        ok(gAnnounceMessages == 1, "%d announcements (1224) after Acquire, expected 1", gAnnounceMessages);
    }
    ok(WaitForSingleObject(first.process.hProcess, 0) == WAIT_TIMEOUT, "the first copy ended");
    first.Stop();
    // Its exit gave the count back: a new start runs.
    Stage again("pictor-again");
    again.Script("[Source]\r\nImages=1\r\nCloseWhenDone=1\r\n");
    if (again.Start()) {
        ok(again.WaitForExit(kRunLimitMs), "the next start did not run to its end");
        ok(Exists(again.Picture(1)), "the next start saved no picture");
    }
}

// Another process's control: its text by message (GetWindowText would give its caption).
std::string ControlText(HWND control) {
    char text[512] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Chooses a file type as a user does: the selection, then its notifications.
void ChooseType(HWND dialog, HWND types, int index) {
    SendMessageA(types, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
}

// Answers a message box of the program with `button`; its text, empty when none came.
std::string Answer(Stage& stage, const char* caption, int button) {
    HWND box = stage.WaitForWindow("#32770", caption, 10000);
    if (!box) return {};
    char text[512] = {};
    SendMessageA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    ui_test::PumpUntil([&] { return !IsWindow(box); }, 5000);
    return text[0] ? text : "(box)";
}

void FailedSaveKeepsPictureAndSaveAs() {
    if (!Selected("failed save keeps the picture, Save As")) return;
    Stage stage("pictor-keep");
    // A folder that exists and takes no files.
    WriteText(stage.File("TWain.ini"), "[Setting]\r\nPath=Z:\\proc\r\n");
    stage.Script("[Source]\r\nImages=2\r\nDepth=32\r\nCloseWhenDone=1\r\n");
    if (!stage.Start()) return;
    for (int n = 0; n < 2; ++n) {
        const std::string told = Answer(stage, "Pictor", IDOK);
        ok(!told.empty(), "no message for failed save %d", n + 1);
    }
    HWND frame = stage.WaitForWindow("Pictor.MainFrame", nullptr, 5000);
    ok(frame && IsWindowVisible(frame), "the frame did not come into view");
    ui_test::PumpUntil([&] { return Find(stage.Calls(), "CLOSEDSM") >= 0; }, 10000);
    ok(!stage.WaitForExit(1000), "Pictor ended with unsaved pictures");
    ok(stage.Launches().empty(), "a picture that was not saved went to the shell");
    HWND client = frame ? FindWindowExA(frame, nullptr, "MDICLIENT", nullptr) : nullptr;
    int children = 0;
    for (HWND c = client ? GetWindow(client, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
        children += GetWindow(c, GW_OWNER) == nullptr;
    ok(children == 2, "%d document windows, expected 2", children);

    // Save As: the type list renames the proposal; the 32-bit picture is written with 24 bits.
    PostMessageA(frame, WM_COMMAND, 57604, 0);
    HWND dialog = stage.WaitForWindow("#32770", "Save As", 10000);
    ok(dialog != nullptr, "no Save As dialog");
    if (dialog) {
        ui_test::PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 5000);
        ui_test::PumpFor(200);
        HWND name = GetDlgItem(dialog, 1148);
        if (!name || !IsWindowVisible(name)) name = GetDlgItem(dialog, 1152);
        const std::string proposed = ControlText(name);
        ok(proposed == "Pic2.jpg", "proposed %s, expected Pic2.jpg", proposed.c_str());
        const std::string target = stage.File("saved.jpg");
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
        HWND types = GetDlgItem(dialog, 1136);
        ChooseType(dialog, types, 1);
        ui_test::PumpUntil([&] { return ControlText(name) != target; }, 5000);
        const std::string renamed = ControlText(name);
        ok(renamed == stage.File("saved.bmp"), "after choosing BMP the name is %s", renamed.c_str());
        ChooseType(dialog, types, 0);
        ui_test::PumpUntil([&] { return ControlText(name) == target; }, 5000);
        ok(ControlText(name) == target, "after choosing JPEG again the name is %s",
           ControlText(name).c_str());
        ChooseType(dialog, types, 1);
        ui_test::PumpUntil([&] { return ControlText(name) == stage.File("saved.bmp"); }, 5000);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // The document takes the file's name once the file is written.
        ui_test::PumpUntil([&] { return FindWindowExA(client, nullptr, nullptr, "saved.bmp") != nullptr; }, 20000);
        const std::vector<std::uint8_t> bmp = ReadBytes(stage.File("saved.bmp"));
        // Picture 2 of the script: 24 x 12, rows of 72 bytes.
        ok(bmp.size() == 14 + 40 + 72 * 12, "saved.bmp has %u bytes, expected %u", unsigned(bmp.size()),
           unsigned(14 + 40 + 72 * 12));
        ok(bmp.size() > 30 && bmp[0] == 'B' && bmp[1] == 'M' && bmp[28] == 24, "saved.bmp is not a 24-bit BMP");
        ok(bmp.size() > 60 && bmp[54] == 40 && bmp[55] == 0 && bmp[56] == 160,
           "first pixel %u %u %u, expected blue 40 green 0 red 160", bmp.size() > 56 ? bmp[54] : 0,
           bmp.size() > 56 ? bmp[55] : 0, bmp.size() > 56 ? bmp[56] : 0);
    }
    // Closing asks about the picture still unsaved; No lets it go.
    PostMessageA(frame, WM_CLOSE, 0, 0);
    const std::string question = Answer(stage, "Pictor", IDNO);
    ok(question.find("Pic1") != std::string::npos, "asked \"%s\", expected a question about Pic1", question.c_str());
    ok(stage.WaitForExit(10000), "Pictor did not exit after the question");
}

// The installed source's switches, beside it where Wine's manager loads it.
void SourceSwitches(const std::string& text) {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    WriteText(std::string(folder) + (sizeof(void*) == 8 ? "\\twain_64" : "\\twain_32") + "\\SimSource.ini",
              "[SimSource]\r\n" + text);
}

std::vector<std::string> WaitForLaunches(const Stage& stage, std::size_t count) {
    std::vector<std::string> launches;
    ui_test::PumpUntil([&] { return (launches = stage.Launches()).size() >= count; }, 10000);
    ui_test::PumpFor(300);  // and no more
    return stage.Launches();
}

void ThroughManager() {
    struct Case {
        const char* name;
        const char* camSet;
        const char* switches;
        int pictures;  // expected files and launches
        bool exits;    // by the source's close request
    } cases[] = {
        {"manager: three pictures, 32 bits", nullptr, "Pictures=3\r\nPictureBits=32\r\nCloseAfterTransfer=1\r\n", 3,
         true},
        {"manager: no source of the CamSet.inf name", "[TWAIN]\r\nProductName=Nobody\r\n",
         "Pictures=1\r\nCloseAfterTransfer=1\r\n", 1, true},
        {"manager: transfer count limited by the source", nullptr,
         "Pictures=3\r\nXferCountLimit=2\r\nCloseAfterTransfer=1\r\n", 2, true},
        {"manager: image information refused", nullptr, "Pictures=2\r\nImageInfoFails=1\r\nCloseAfterTransfer=1\r\n",
         0, false},
    };
    for (const Case& c : cases) {
        if (!Selected(c.name)) continue;
        if (c.camSet)
            WriteText(CamSetPath(), c.camSet);
        else
            DeleteFileA(CamSetPath().c_str());
        SourceSwitches(c.switches);
        Stage stage("pictor-manager");
        if (!stage.Start()) continue;
        const bool exited = stage.WaitForExit(c.exits ? kRunLimitMs : 5000);
        if (c.exits) ok(exited, "%s: Pictor did not exit when the source asked", c.name);
        for (int n = 1; n <= 4; ++n) {
            const JpegFacts jpeg = ReadJpeg(stage.Picture(n));
            ok(jpeg.valid == (n <= c.pictures), "%s: PIC%05d.jpg %s", c.name, n, jpeg.valid ? "written" : "missing");
            if (jpeg.valid) ok(jpeg.width == 64 && jpeg.height == 48, "%s: %d x %d", c.name, jpeg.width, jpeg.height);
        }
        const std::vector<std::string> launches = WaitForLaunches(stage, std::size_t(c.pictures));
        ok(launches.size() == std::size_t(c.pictures), "%s: %u launches, expected %d", c.name,
           unsigned(launches.size()), c.pictures);
        for (std::size_t i = 0; i < launches.size(); ++i)
            ok(lstrcmpiA(launches[i].c_str(), stage.Picture(int(i) + 1).c_str()) == 0, "%s: launch %u got %s", c.name,
               unsigned(i), launches[i].c_str());
        if (!exited) {
            // Still answering: it closes on request (a loop asking for ever would not).
            if (HWND frame = stage.Window("Pictor.MainFrame", nullptr)) PostMessageA(frame, WM_CLOSE, 0, 0);
            ok(stage.WaitForExit(10000), "%s: Pictor did not close on request", c.name);
        }
        DeleteFileA(CamSetPath().c_str());
    }
    SourceSwitches("");
}

// The road a user takes: the source opens the camera window, Pictor announces
// itself to it, and ends when the camera window closes.
void CameraWindowThroughManager() {
    if (!Selected("manager: camera window")) return;
    DeleteFileA(CamSetPath().c_str());
    SourceSwitches("");
    Stage stage("pictor-window");
    if (!stage.Start()) return;
    HWND hide = nullptr;
    ui_test::PumpUntil([&] { return (hide = FindWindowA("VEXA_TWain_HideWnd", nullptr)) != nullptr; }, 20000);
    ok(hide != nullptr, "the camera window's hidden window did not appear");
    HWND pictorHide = stage.Window("VEXA_Pictor_HideWindow", "VEXA_Pictor_HideWindow");
    ok(pictorHide != nullptr && !IsWindowVisible(pictorHide), "Pictor's hidden window is missing or shown");
    ok(WaitForSingleObject(stage.process.hProcess, 0) == WAIT_TIMEOUT, "Pictor ended with the camera window open");
    ui_test::PumpFor(1500);  // the camera window's set-up and camera check
    if (hide) PostMessageA(hide, 1226, 0, 0);  // the closing request
    ok(stage.WaitForExit(kRunLimitMs), "Pictor did not exit once the camera window had closed");
    ok(!FindWindowA("VEXA_TWain_HideWnd", nullptr), "the camera window is still there");
}

// Two pictures the program cannot save stay open in view for a while.
void HoldPicturesInView(DWORD seconds) {
    DeleteFileA(CamSetPath().c_str());
    SourceSwitches("Pictures=2\r\nPictureWidth=640\r\nPictureHeight=480\r\nCloseAfterTransfer=1\r\n");
    Stage stage("pictor-hold");
    WriteText(stage.File("TWain.ini"), "[Setting]\r\nPath=Z:\\proc\r\n");
    if (!stage.Start()) return;
    for (int n = 0; n < 2; ++n) Answer(stage, "Pictor", IDOK);
    if (HWND frame = stage.WaitForWindow("Pictor.MainFrame", nullptr, 5000)) {
        SetWindowPos(frame, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
        PostMessageA(frame, WM_COMMAND, 57650, 0);  // cascade
    }
    ui_test::PumpFor(seconds * 1000);
    if (HWND frame = stage.Window("Pictor.MainFrame", nullptr)) PostMessageA(frame, WM_CLOSE, 0, 0);
    for (int n = 0; n < 2; ++n) Answer(stage, "Pictor", IDNO);
    SourceSwitches("");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && !lstrcmpA(argv[1], "record")) {
        // The start time of this process orders the launches.
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        const unsigned long long start = (unsigned long long)created.dwHighDateTime << 32 | created.dwLowDateTime;
        if (FILE* f = std::fopen(argv[2], "ab")) {
            std::fprintf(f, "%llu %s\n", start, argv[3]);
            std::fclose(f);
        }
        return 0;
    }
    if (argc < 3) {
        std::printf("usage: pictor_test PICTOR_EXE SCRIPTED_TWAIN_DLL|--through-manager [SCENARIO]\n");
        return 2;
    }
    gPictorExe = argv[1];
    const bool throughManager = !lstrcmpA(argv[2], "--through-manager");
    gTwainDll = throughManager ? "" : argv[2];
    gOnly = argc == 4 ? argv[3] : nullptr;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    gSelf = self;
    // With the scripted manager, the prefix loads a TWAIN_32.DLL beside
    // Pictor.exe before its own; through the manager, its own.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\Pictor.exe\\DllOverrides", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const char order[] = "native,builtin";
        if (throughManager)
            RegDeleteValueA(key, "twain_32");
        else
            RegSetValueExA(key, "twain_32", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
        RegCloseKey(key);
    }
    if (throughManager && argc == 5 && !lstrcmpA(argv[3], "--hold")) {
        HoldPicturesInView(DWORD(std::atoi(argv[4])));
        return 0;
    }
    if (throughManager) {
        ThroughManager();
        CameraWindowThroughManager();
        return wine_test::Finish();
    }
    ThreePicturesInOneConnection();
    ShellOpenWhenEditIsMissing();
    SourceChoice();
    TransferCountCheckStatus();
    RefusedImageInformation();
    StartWhileCameraWindowOpen();
    SecondCopy();
    FailedSaveKeepsPictureAndSaveAs();
    return wine_test::Finish();
}
