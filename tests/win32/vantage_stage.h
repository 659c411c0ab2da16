// What every camera-window test program shares: it plays the camera's data
// source. A scenario stages a copy of Vantage.dll in a folder of its own
// (with Lexis.DLL, Prism.dll and TWain.ini as it needs), calls OpenVantage
// with SimCam.dll's operations on this thread and runs the message loop;
// a second thread plays the user in modal dialogs.
//   PROGRAM VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]
#pragma once

#include <windows.h>

#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "camera_ops.h"
#include "language.h"
#include "process_usage.h"
#include "simcam.h"
#include "ui_test_support.h"
#include "wine_test.h"

namespace vantage_stage {

using namespace ui_test;

constexpr const char* kHideClass = "VEXA_TWain_HideWnd";
constexpr const char* kPictorClass = "VEXA_Pictor_HideWindow";
constexpr UINT kMsgPictorHello = 1224, kMsgRestore = 1225, kMsgCloseRequest = 1226;
constexpr int kCommandIds[10] = {3003, 3021, 4, 5, 3004, 3022, 3, 6, 7, 2};

inline std::string gVantageDll, gLexisDll, gPrismDll, gIconFile;
inline HWND gSource = nullptr;  // the data source's window

struct SimCam {
    CameraOps ops = {};
    decltype(&SimCamLoadScenes) loadScenes = nullptr;
    decltype(&SimCamSetFault) setFault = nullptr;
    decltype(&SimCamReset) reset = nullptr;
    decltype(&SimCamSetDeviceStatus) setDeviceStatus = nullptr;
    decltype(&SimCamCallLog) callLog = nullptr;

    std::string Log() const {
        char text[512] = {};
        callLog(text, sizeof text);
        return text;
    }
};
inline SimCam gCam;

inline bool LoadSimCam(const char* path) {
    HMODULE module = LoadLibraryA(path);
    ok(module != nullptr, "%s did not load", path);
    if (!module) return false;
    gCam.loadScenes = platform::FindEntryAs<decltype(gCam.loadScenes)>(module, "SimCamLoadScenes");
    gCam.setFault = platform::FindEntryAs<decltype(gCam.setFault)>(module, "SimCamSetFault");
    gCam.reset = platform::FindEntryAs<decltype(gCam.reset)>(module, "SimCamReset");
    gCam.setDeviceStatus = platform::FindEntryAs<decltype(gCam.setDeviceStatus)>(module, "SimCamSetDeviceStatus");
    gCam.callLog = platform::FindEntryAs<decltype(gCam.callLog)>(module, "SimCamCallLog");
    auto getOperations = platform::FindEntryAs<decltype(&SimCamGetOperations)>(module, "SimCamGetOperations");
    ok(getOperations && gCam.callLog && gCam.reset, "SimCam.dll lacks its controls");
    if (!getOperations) return false;
    getOperations(&gCam.ops);
    return gCam.loadScenes("still:640:chart,still:320:bars") == 2;
}

// A folder with a copy of Vantage.dll and, when asked, its companions.
struct Stage {
    std::string folder;
    HMODULE module = nullptr;
    OpenVantageFn open = nullptr;

    Stage(const char* name, bool withLexis, bool withPrism) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        // A fresh folder: Wine reuses process ids, so an earlier run's may exist.
        for (int n = 0;; ++n) {
            folder = std::string(temp) + name + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n);
            if (CreateDirectoryA(folder.c_str(), nullptr)) break;
        }
        CopyFileA(gVantageDll.c_str(), File("Vantage.dll").c_str(), FALSE);
        if (withLexis) CopyFileA(gLexisDll.c_str(), File("Lexis.DLL").c_str(), FALSE);
        if (withPrism) CopyFileA(gPrismDll.c_str(), File("Prism.dll").c_str(), FALSE);
    }
    // Best effort: a Lexis.DLL still loaded (it never unloads) may stay behind.
    ~Stage() {
        Unload();
        Gone(3000);
        RemoveTree(folder);
    }
    static void RemoveTree(const std::string& path) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
        while (find != INVALID_HANDLE_VALUE) {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path + "\\" + name);
                else
                    DeleteFileA((path + "\\" + name).c_str());
            }
            if (!FindNextFileA(find, &entry)) break;
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        RemoveDirectoryA(path.c_str());
    }

    std::string File(const char* name) const { return folder + "\\" + name; }
    void WriteIni(const std::string& text) const {
        HANDLE f = CreateFileA(File("TWain.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
        CloseHandle(f);
    }
    std::string Setting(const char* key) const {
        char value[300] = {};
        GetPrivateProfileStringA("Setting", key, "<missing>", value, sizeof value, File("TWain.ini").c_str());
        return value;
    }
    bool Load() {
        module = LoadLibraryA(File("Vantage.dll").c_str());
        ok(module != nullptr, "Vantage.dll in %s did not load (error %lu)", folder.c_str(), GetLastError());
        open = module ? platform::FindEntryAs<OpenVantageFn>(module, "OpenVantage") : nullptr;
        return open != nullptr;
    }
    void Unload() {
        if (module) FreeLibrary(module);
        module = nullptr;
        open = nullptr;
    }
    // Whether this copy of Vantage.dll is out of the process within `ms`
    // (a closed window lets go of it a moment later).
    bool Gone(DWORD ms) const {
        const std::string dll = File("Vantage.dll");
        return PumpUntil([&] { return GetModuleHandleA(dll.c_str()) == nullptr; }, ms);
    }
    HWND Open() const {
        const CameraOps& o = gCam.ops;
        return open(gSource, o.OpenCamera, o.CloseCamera, o.TogglePreview, o.StartCapture, o.NotifyClose,
                    o.SetFrameSize, o.ReadDirectory, o.ReadEntries, o.ReadFrame, o.DeleteAllPictures, o.GetFrameInfo,
                    o.SwitchVideoSize, o.TransferImages);
    }
};

// The language section this system's texts come from.
inline std::string Section() { return LanguageSection(GetACP(), GetSystemDefaultLangID()); }

inline std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

inline bool CloseWindow(HWND window, WPARAM command) {
    PostMessageA(window, WM_COMMAND, command, 0);
    return PumpUntil([&] { return !IsWindow(window); }, 3000);
}

// Lets the deferred set-up and the camera check run.
inline void LetStartUpRun() { PumpFor(500); }

// The command buttons' enabled states in kCommandIds order, e.g. "0000000011".
inline std::string Enabled(HWND window) {
    std::string states;
    for (int id : kCommandIds) states += IsWindowEnabled(GetDlgItem(window, id)) ? '1' : '0';
    return states;
}
constexpr const char* kAllOn = "1111111111";
constexpr const char* kNoPictures = "0000111111";
constexpr const char* kNoCamera = "0000000011";

inline HWND View(HWND window) { return FindWindowExA(window, nullptr, "wingui.ScrollView", nullptr); }

// Pumps until no refresh runs: once the set-up has made the view, the
// information button (7) is disabled only while one does.
inline bool WaitIdle(HWND window, DWORD ms = 30000) {
    PumpUntil([&] { return View(window) != nullptr; }, ms);
    LetStartUpRun();
    return PumpUntil([&] { return IsWindowEnabled(GetDlgItem(window, 7)) != FALSE; }, ms);
}

// The captions of the view's shown check boxes, "|"-separated, and how many are checked.
inline std::string Captions(HWND window, int* checked = nullptr) {
    std::string captions;
    int n = 0;
    for (int p = 0;; ++p) {
        HWND box = GetDlgItem(View(window), 3000 + p);
        if (!box || !IsWindowVisible(box)) break;
        captions += (p ? "|" : "") + WindowText(box);
        n += SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    if (checked) *checked = n;
    return captions;
}

inline std::string TempFile(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

// Temporary frame files in the system's temporary folder: their sizes, or deleted.
inline std::vector<DWORD> FrameFiles(bool remove = false) {
    std::vector<DWORD> sizes;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(TempFile("__VEXACAM_*__.tmp").c_str(), &entry);
    while (find != INVALID_HANDLE_VALUE) {
        sizes.push_back(entry.nFileSizeLow);
        if (remove) DeleteFileA(TempFile(entry.cFileName).c_str());
        if (!FindNextFileA(find, &entry)) break;
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return sizes;
}
inline void DeleteFrameFiles() { FrameFiles(true); }

inline const char* gOnly = nullptr;  // runs only the scenarios whose name holds this

inline BOOL CALLBACK PrintVisibleWindow(HWND window, LPARAM) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    // InternalGetWindowText sends nothing to a thread that may be the one that hangs.
    WCHAR title[128] = {};
    InternalGetWindowText(window, title, 128);
    if (IsWindowVisible(window))
        std::printf("  window \"%ls\" (%s) enabled %d\n", title, cls, IsWindowEnabled(window));
    return TRUE;
}

// Names each scenario as it starts, so that a hang shows where it is; a
// scenario that has not ended after 90 s reports the camera calls and the
// windows in sight and ends the program, rather than waiting for ctest.
// Far beyond any scenario's time, also under emulation (ctest's own limit
// for the whole program is 600 s).
inline constexpr DWORD kScenarioLimitMs = 240000;

inline void Run(const char* name, void (*scenario)()) {
    if ((gOnly && !std::strstr(name, gOnly)) || wine_test::LeftOut(name)) return;
    std::printf("%s\n", name);
    std::fflush(stdout);
    HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread watchdog([ended, name] {
        if (WaitForSingleObject(ended, kScenarioLimitMs) == WAIT_OBJECT_0) return;
        std::printf("%s hangs; camera calls \"%s\"\n", name, gCam.Log().c_str());
        EnumWindows(PrintVisibleWindow, 0);
        std::fflush(stdout);
        ExitProcess(3);
    });
    scenario();
    SetEvent(ended);
    watchdog.join();
    CloseHandle(ended);
    PumpFor(250);  // a closed window lets go of its library 200 ms later
    process_usage::Print("after it", process_usage::Measure());
}


// Reads the arguments, loads SimCam.dll and makes the data source's window;
// false (after reporting) when the program cannot run its scenarios.
inline bool StartUp(int argc, char** argv) {
    if (argc < 6) {
        std::printf("usage: %s VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]\n", argv[0]);
        return false;
    }
    gVantageDll = argv[1];
    gLexisDll = argv[2];
    gPrismDll = argv[3];
    gIconFile = argv[5];
    if (argc > 6) gOnly = argv[6];
    if (!LoadSimCam(argv[4])) return false;
    DeleteFrameFiles();  // a run that was killed may have left some
    gSource = CreateWindowA("STATIC", "data source", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    return true;
}

}  // namespace vantage_stage
