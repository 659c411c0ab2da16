// Vantage.dll as the camera's data source sees it: opening and closing, the
// handshake, hidden mode, Pictor, device changes, options, refresh and the
// commands, unloading (vantage_stage.h stages the library and plays the user).
//   vantage_test VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]
#include <shlobj.h>

#include <algorithm>
#include <atomic>

#include "vantage_stage.h"

namespace {

using namespace vantage_stage;

void TestOpenAndClose() {
    Stage s("vantage-open-", true, true);
    const std::string pictures = s.File("pictures");
    s.WriteIni("[Setting]\r\nPath=" + pictures + "\r\n[" + Section() + "]\r\n11=Test Camera\r\n12=Get\r\n49=Ready\r\n");
    if (!s.Load()) return;
    gCam.reset();
    const HWND window = s.Open();
    ok(window && IsWindow(window), "OpenVantage returned %p, not a window", static_cast<void*>(window));
    if (!window) return;
    ok(FindWindowA(kHideClass, nullptr) != nullptr, "no hide window");
    LetStartUpRun();
    ok(WindowText(window) == "Test Camera", "title \"%s\", expected \"Test Camera\"", WindowText(window).c_str());
    ok(ItemText(window, 3003) == "Get", "button 3003 reads \"%s\", expected Get", ItemText(window, 3003).c_str());
    ok(ItemText(window, 3021) == "Transfer", "button 3021 reads \"%s\", expected the template's Transfer",
       ItemText(window, 3021).c_str());
    ok(WaitIdle(window), "the refresh did not end");
    for (int id : kCommandIds) {
        HWND button = GetDlgItem(window, id);
        ok(IsWindowVisible(button), "button %d hidden", id);
        ok((GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, "button %d is not an icon button", id);
    }
    ok(Enabled(window) == std::string(kAllOn), "buttons %s after the refresh, expected %s", Enabled(window).c_str(),
       kAllOn);
    HWND label = GetDlgItem(window, 3027);
    HDC dc = GetDC(label);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(label, dc);
    RECT r;
    GetClientRect(label, &r);
    ok(WindowText(label) == "Ready" && r.right == 5 * metrics.tmAveCharWidth, "label 3027 \"%s\" %ld wide, expected Ready %ld",
       WindowText(label).c_str(), r.right, 5 * metrics.tmAveCharWidth);
    GetClientRect(GetDlgItem(window, 3028), &r);
    ok(r.right == 0, "empty label 3028 is %ld wide", r.right);
    // Camera check, then the refresh of two stills.
    const std::string startUp = "1,2,1,11,6,7,8,9,9,6,2";
    ok(gCam.Log() == startUp, "start-up called \"%s\", expected %s", gCam.Log().c_str(), startUp.c_str());

    ok(CloseWindow(window, IDCANCEL), "IDCANCEL did not close the window");
    ok(gCam.Log() == startUp + ",5,2,2", "closing called \"%s\", expected ...,5,2,2", gCam.Log().c_str());
    ok(!FindWindowA(kHideClass, nullptr), "hide window left behind");

    const HWND again = s.Open();
    WaitIdle(again);
    gCam.reset();
    ok(CloseWindow(again, IDOK), "IDOK did not close the window");
    ok(gCam.Log() == "2", "IDOK called \"%s\", expected 2", gCam.Log().c_str());
    ok(!FindWindowA(kHideClass, nullptr), "hide window left behind");
}

void TestHandshake() {
    Stage s("vantage-handshake-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    const HWND first = s.Open();
    LetStartUpRun();
    const HWND second = s.Open();
    ok(second && second != first && IsWindow(second), "second OpenVantage returned %p", static_cast<void*>(second));
    ok(!IsWindow(first), "the first window still exists");
    ok(gCam.Log().find(",5,2,2") != std::string::npos, "first window not closed through its close path: \"%s\"",
       gCam.Log().c_str());

    // A closing request while a modal dialog runs ends the dialog first.
    LetStartUpRun();
    bool sawOptions = false, optionsGone = false, cameraWindowOutlivedIt = false;
    Script user([&] {
        HWND options = WaitForOwnedDialog(second, "Options", 5000);
        sawOptions = options != nullptr;
        PostMessageA(FindWindowA(kHideClass, nullptr), kMsgCloseRequest, 0, 0);
        for (int i = 0; i < 500 && IsWindow(options); ++i) Sleep(2);
        optionsGone = !IsWindow(options);
        // The camera window's own IDCANCEL follows a second later.
        Sleep(300);
        cameraWindowOutlivedIt = IsWindow(second);
    });
    PostMessageA(second, WM_COMMAND, 3, 0);
    PumpUntil([&] { return user.Done() && !IsWindow(second); }, 8000);
    user.Finish();
    ok(sawOptions && optionsGone, "options dialog seen %d, closed by the request %d", sawOptions, optionsGone);
    ok(cameraWindowOutlivedIt, "the camera window went together with the dialog, not after it");
    ok(!IsWindow(second), "camera window survived the closing request");
    ok(s.Setting("Next") == "<missing>", "a cancelled options dialog wrote Next=%s", s.Setting("Next").c_str());
}

int gCloseRequests = 0;

LRESULT CALLBACK StubbornProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgCloseRequest) ++gCloseRequests;
    return DefWindowProcA(window, message, wParam, lParam);
}

// An earlier camera window that never goes: OpenVantage gives up.
void TestBoundedWait() {
    Stage s("vantage-bounded-", true, true);
    if (!s.Load()) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StubbornProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHideClass;
    ok(RegisterClassA(&wc) != 0, "stubborn class not registered (error %lu)", GetLastError());
    HWND stubborn = CreateWindowA(kHideClass, "stubborn", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    const HWND window = s.Open();
    ok(window == nullptr, "OpenVantage returned a window beside one that never closes");
    ok(gCloseRequests == 10, "%d closing requests, expected 10", gCloseRequests);
    DestroyWindow(stubborn);
    UnregisterClassA(kHideClass, wc.hInstance);
}

// Answers with OK every message box (untitled) that `window` shows until it
// is gone or `ms` have passed; a box is answered once its text is there (a
// window caught while it is being made may have neither title nor text yet).
// The messages, "|"-separated.
std::string AnswerMessages(HWND window, DWORD ms) {
    std::string messages;
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < ms) {
        HWND box = WaitForOwnedDialog(window, "", 100);
        const std::string text = box ? MessageText(box) : std::string();
        if (text.empty()) continue;
        messages += (messages.empty() ? "" : "|") + text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
    }
    return messages;
}

void TestHiddenMode() {
    Stage s("vantage-hidden-", true, true);
    s.WriteIni("[Setting]\r\nHideByOtherAP=1\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    HWND window = s.Open();
    RECT r = {};
    GetWindowRect(window, &r);
    ok(r.left == -100 && r.top == -100 && r.bottom <= 0, "hidden window at %ld,%ld-%ld,%ld", r.left, r.top, r.right,
       r.bottom);
    // A camera answers: the window transfers at once. The images come with
    // the development step; until then the transfer fails and the window goes.
    std::string transferMessage;
    Script transferUser([&] { transferMessage = AnswerMessages(window, 20000); });
    const bool transferClosed = PumpUntil([&] { return !IsWindow(window); }, 25000);
    transferUser.Finish(25000);
    ok(transferMessage == "Transfer Error.", "transfer said \"%s\"", transferMessage.c_str());
    ok(transferClosed, "hidden window stayed after its transfer");
    ok(gCam.Log().find(",7,8,9,9,6,2,2,1,") != std::string::npos, "no refresh before the transfer: \"%s\"",
       gCam.Log().c_str());

    // Nothing in the camera: "No Picture." and the window closes itself.
    gCam.loadScenes("");
    gCam.reset();
    window = s.Open();
    Script emptyUser([&] { transferMessage = AnswerMessages(window, 20000); });
    const bool emptyClosed = PumpUntil([&] { return !IsWindow(window); }, 25000);
    emptyUser.Finish(25000);
    gCam.loadScenes("still:640:chart,still:320:bars");
    ok(transferMessage == "No Picture.", "an empty camera's transfer said \"%s\"", transferMessage.c_str());
    ok(emptyClosed, "hidden window stayed after a transfer without pictures");

    // No camera: the message, then the window closes itself.
    gCam.reset();
    gCam.setFault(kSimCamNoCamera, 1);
    window = s.Open();
    std::string message;
    Script user([&] {
        HWND box = WaitForOwnedDialog(window, "Camera", 5000);
        message = MessageText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    const bool closed = PumpUntil([&] { return !IsWindow(window); }, 8000);
    user.Finish();
    ok(message == "No Camera.", "message \"%s\", expected \"No Camera.\"", message.c_str());
    ok(closed, "hidden window without a camera did not close itself");
    ok(gCam.Log() == "1,5,2,2", "calls \"%s\", expected 1,5,2,2", gCam.Log().c_str());

    // In sight: the window stays, with only information and close enabled.
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    gCam.reset();
    gCam.setFault(kSimCamNoCamera, 1);
    window = s.Open();
    Script user2([&] { PostMessageA(WaitForOwnedDialog(window, "Camera", 5000), WM_COMMAND, IDOK, 0); });
    user2.Finish();
    PumpFor(200);
    ok(IsWindow(window), "visible window closed without a camera");
    for (int id : kCommandIds) {
        const bool expected = id == 7 || id == 2;
        ok(bool(IsWindowEnabled(GetDlgItem(window, id))) == expected, "no camera: button %d enabled %d", id, !expected);
    }
    CloseWindow(window, IDCANCEL);
}

void TestPictorAndRestore() {
    Stage s("vantage-pictor-", true, true);
    s.WriteIni("[Setting]\r\nHideByOtherAP=1\r\nPath=" + s.File("pictures") + "\r\n");
    HWND pictor = CreateWindowA("STATIC", kPictorClass, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    // A class of that name, for FindWindow.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kPictorClass;
    RegisterClassA(&wc);
    DestroyWindow(pictor);
    pictor = CreateWindowA(kPictorClass, kPictorClass, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    if (!s.Load()) return;
    gCam.reset();
    const HWND window = s.Open();
    RECT r = {};
    GetWindowRect(window, &r);
    ok(r.left >= 0 && r.top >= 0, "with Pictor running the window is at %ld,%ld", r.left, r.top);
    LetStartUpRun();
    DestroyWindow(pictor);
    UnregisterClassA(kPictorClass, wc.hInstance);

    const HWND hide = FindWindowA(kHideClass, nullptr);
    PostMessageA(hide, kMsgPictorHello, 0, 0);
    PumpFor(100);
    ok(SendMessageA(window, WM_GETICON, ICON_BIG, 0) == 0, "an icon appeared without Pictor.ico");
    CopyFileA(gIconFile.c_str(), s.File("Pictor.ico").c_str(), FALSE);
    PostMessageA(hide, kMsgPictorHello, 0, 0);
    PumpFor(100);
    ok(SendMessageA(window, WM_GETICON, ICON_BIG, 0) != 0, "no icon from Pictor.ico");

    // 1124 with lParam 0 brings the window to the front; with another lParam nothing.
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    PostMessageA(window, 1124, 0, 1);
    PumpFor(100);
    ok(GetActiveWindow() == other, "1124 with lParam 1 changed the active window");
    PostMessageA(window, 1124, 0, 0);
    PumpFor(100);
    ok(GetActiveWindow() == window, "1124 did not make the camera window active");
    DestroyWindow(other);

    ShowWindow(window, SW_MINIMIZE);
    ok(IsIconic(window), "window did not minimise");
    PostMessageA(hide, kMsgRestore, 0, 0);
    PumpFor(100);
    ok(!IsIconic(window), "1225 did not restore the window");
    CloseWindow(window, IDCANCEL);
}

void TestDeviceChange() {
    Stage s("vantage-device-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    const HWND window = s.Open();
    WaitIdle(window);  // the camera answers: present, and refreshed
    struct Step {
        DWORD status;
        WPARAM event;
        const char* calls;
    };
    const Step steps[] = {
        {1, 7, ""},           // still present: nothing
        {0, 7, ""},           // gone: no camera call
        {1, 0x8000, ""},      // another event changes nothing
        {1, 7, "1,2"},        // back: checked
    };
    for (const Step& step : steps) {
        gCam.reset();
        gCam.setDeviceStatus(step.status);
        const LRESULT answer = SendMessageA(window, WM_DEVICECHANGE, step.event, 0);
        ok(answer == TRUE, "WM_DEVICECHANGE answered %ld", long(answer));
        ok(gCam.Log() == step.calls, "status %lu event 0x%x called \"%s\", expected \"%s\"", step.status,
           unsigned(step.event), gCam.Log().c_str(), step.calls);
    }
    gCam.setDeviceStatus(0);
    CloseWindow(window, IDCANCEL);
}

// Runs the options dialog of `window` and lets `user` act in it.
void RunOptions(HWND window, const std::function<void(HWND)>& user) {
    Script script([&] {
        HWND options = WaitForOwnedDialog(window, "Options", 5000);
        ok(options != nullptr, "no options dialog");
        if (options) user(options);
    });
    PostMessageA(window, WM_COMMAND, 3, 0);
    script.Finish();
    PumpFor(50);
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void TestOptionsAndPath() {
    Stage s("vantage-options-", true, true);
    const std::string pictures = s.File("pictures");
    s.WriteIni("[Setting]\r\nPath=" + pictures + "\r\nNext=7\r\n");
    if (!s.Load()) return;
    gCam.reset();
    HWND window = s.Open();
    LetStartUpRun();
    RunOptions(window, [&](HWND options) {
        ok(ItemText(options, 3013) == pictures, "folder shows \"%s\"", ItemText(options, 3013).c_str());
        ok(ItemText(options, 3016) == "7", "next shows \"%s\", expected 7", ItemText(options, 3016).c_str());
        ok(GetDlgItem(options, 3031) == nullptr, "check box 3031 without Enlarge");
        SetDlgItemTextA(options, 3016, "0");
        Press(options, IDOK);
    });
    ok(s.Setting("Next") == "0", "Next=%s after OK, expected 0", s.Setting("Next").c_str());
    ok(s.Setting("Path") == pictures, "Path=%s after OK", s.Setting("Path").c_str());
    RunOptions(window, [&](HWND options) {
        SetDlgItemTextA(options, 3016, "55");
        Press(options, IDCANCEL);
    });
    ok(s.Setting("Next") == "0", "Next=%s after Cancel, expected 0", s.Setting("Next").c_str());
    CloseWindow(window, IDCANCEL);

    // Enlarge offered: Vantage's own template with the check box.
    s.WriteIni("[Setting]\r\nPath=" + pictures + "\r\nEnlarge=1\r\n");
    window = s.Open();
    LetStartUpRun();
    RunOptions(window, [&](HWND options) {
        ok(GetDlgItem(options, 3031) != nullptr, "no check box 3031 with Enlarge=1");
        SendMessageA(GetDlgItem(options, 3031), BM_SETCHECK, BST_CHECKED, 0);
        Press(options, IDOK);
    });
    ok(s.Setting("EnlargeOnOff") == "1", "EnlargeOnOff=%s, expected 1", s.Setting("EnlargeOnOff").c_str());
    ok(s.Setting("Next") == "1", "Next=%s, expected the default 1", s.Setting("Next").c_str());
    CloseWindow(window, IDCANCEL);

    // A folder that cannot be made is replaced by the default, in the file.
    s.WriteIni("[Setting]\r\nPath=Q:\\no such drive\\pictures\r\n");
    window = s.Open();
    LetStartUpRun();
    char documents[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    const std::string fallback = std::string(documents) + "\\My DSC";
    ok(s.Setting("Path") == fallback, "Path=%s, expected %s", s.Setting("Path").c_str(), fallback.c_str());
    CloseWindow(window, IDCANCEL);
}

// The information dialog's four-click sequence and button 3025.
void ClickLine(HWND about, int id) {
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, id)));
    Sleep(50);
}

void TestAbout(bool withPrism) {
    Stage s(withPrism ? "vantage-about-" : "vantage-noprism-", true, withPrism);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    // An empty camera: nothing is developed, so Prism has no set yet and answers with its message.
    gCam.loadScenes("");
    const HWND window = s.Open();
    ok(window != nullptr, "no window (Prism.dll %s)", withPrism ? "present" : "missing");
    WaitIdle(window);
    gCam.loadScenes("still:640:chart,still:320:bars");
    Script user([&] {
        HWND about = WaitForOwnedDialog(window, "About Camera", 5000);
        ok(about != nullptr, "no information dialog");
        if (!about) return;
        HWND button = GetDlgItem(about, 3025);
        Press(about, 3025);  // hidden: nothing happens
        ok(!WaitForWindow("#32770", "Image Process", 400), "hidden button 3025 opened the settings");
        for (int id : {3014, 3019, 3023, 3014, 3017}) ClickLine(about, id);  // 3023 is out of order
        ok(!IsWindowVisible(button), "button 3025 shown before the sequence ended");
        ClickLine(about, 3023);
        ok(IsWindowVisible(button), "button 3025 hidden after the sequence");
        Press(about, 3025);
        HWND box = WaitForWindow("#32770", "Image Process", withPrism ? 5000 : 500);
        ok(withPrism == (box != nullptr), "Prism's settings message %s", box ? "appeared" : "did not appear");
        if (box) {
            ok(MessageText(box).find("Sensor") == 0, "Prism's message reads \"%s\"", MessageText(box).c_str());
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
        }
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(window, WM_COMMAND, 7, 0);
    user.Finish(15000);
    ok(IsWindow(window), "camera window gone after the information dialog");
    CloseWindow(window, IDCANCEL);
}

bool ModuleLoaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

// A Pictor hide window while it lives.
struct FakePictor {
    WNDCLASSA wc = {};
    HWND window = nullptr;
    FakePictor() {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kPictorClass;
        RegisterClassA(&wc);
        window = CreateWindowA(kPictorClass, kPictorClass, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~FakePictor() {
        DestroyWindow(window);
        UnregisterClassA(kPictorClass, wc.hInstance);
    }
};

// The data source frees Vantage.dll after closing the window, and with the
// window open in the middle of a refresh: the worker must not keep the
// library (and Prism.dll) loaded, an open window keeps it until it closes,
// and a new load starts afresh.
void TestUnloadWithWorker() {
    Stage s("vantage-unload-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    HWND window = s.Open();
    ok(WaitIdle(window), "no refresh");
    ok(CloseWindow(window, IDCANCEL), "window did not close");
    s.Unload();
    ok(s.Gone(3000) && !ModuleLoaded(s.File("Prism.dll")), "Vantage.dll %d / Prism.dll %d still loaded after the unload",
       ModuleLoaded(s.File("Vantage.dll")), ModuleLoaded(s.File("Prism.dll")));

    {
        // The new load notes Pictor again: transfer stays off.
        FakePictor pictor;
        if (!s.Load()) return;
    }
    window = s.Open();
    ok(WaitIdle(window), "no refresh after loading again");
    ok(Enabled(window) == "1011111111", "buttons %s with Pictor noted at load", Enabled(window).c_str());
    ok(Captions(window) == "1|2", "view after loading again: \"%s\"", Captions(window).c_str());

    // Unload in the middle of a long refresh, the window still open: the
    // window keeps the library; closing it ends the refresh and the library.
    gCam.loadScenes("clip:640:chart:40,still:640:bars,still:640:ramp,still:640:wedge,still:640:chart");
    PostMessageA(window, WM_COMMAND, 6, 0);
    PumpUntil([&] { return !IsWindowEnabled(GetDlgItem(window, 7)) && !FrameFiles().empty(); }, 5000);
    s.Unload();
    ok(IsWindow(window) && ModuleLoaded(s.File("Vantage.dll")), "window %d, library loaded %d after the unload",
       IsWindow(window), ModuleLoaded(s.File("Vantage.dll")));
    gCam.reset();
    ok(CloseWindow(window, IDCANCEL), "window did not close during the refresh");
    ok(s.Gone(12000), "Vantage.dll still loaded after its window closed during a refresh");
    const std::string log = gCam.Log();
    PumpFor(300);  // nothing of the library may still be called
    ok(gCam.Log() == log, "camera called after the unload: \"%s\" then \"%s\"", log.c_str(), gCam.Log().c_str());
    ok(FrameFiles().empty(), "%u frame files left after the unload", unsigned(FrameFiles().size()));
    gCam.loadScenes("still:640:chart,still:320:bars");
    ok(s.Load(), "Vantage.dll does not load again after an unload");
}

// The view after a refresh: captions, selection, frame files, and the rules
// that follow the selection.
void TestRefreshAndSelection() {
    Stage s("vantage-refresh-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    gCam.loadScenes("still:640:chart,clip:320:wedge:3,still:320:bars,clip:640:ramp:2");
    // The first name is held open elsewhere (Vantage's counter starts at 0 with each load).
    const std::string heldName = TempFile("__VEXACAM_00000__.tmp");
    HANDLE held = CreateFileA(heldName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const HWND window = s.Open();
    ok(WaitIdle(window), "no refresh");
    const DWORD heldSize = GetFileSize(held, nullptr);
    CloseHandle(held);
    ok(heldSize == 0, "the held file was written (%lu bytes)", heldSize);
    DeleteFileA(heldName.c_str());
    int checked = 0;
    ok(Captions(window, &checked) == "1|2(AVI)|3|4(AVI)", "captions \"%s\"", Captions(window).c_str());
    ok(checked == 4, "%d of 4 thumbnails checked after the refresh", checked);
    std::vector<DWORD> sizes = FrameFiles();
    std::sort(sizes.begin(), sizes.end());
    const std::vector<DWORD> expected = {76928, 76928, 76928, 76928, 307328, 307328, 307328};
    ok(sizes == expected, "%u frame files, expected 7 of frame + 128 bytes", unsigned(sizes.size()));
    ok(Enabled(window) == std::string(kAllOn), "buttons %s", Enabled(window).c_str());

    struct Step {
        const char* what;
        int command;      // to the camera window, or
        int checkBox;     // a click on this position's box
        const char* buttons;
    };
    const Step steps[] = {
        {"clear all", 5, -1, "0011111111"},
        {"one box", 0, 1, kAllOn},
        {"the box again", 0, 1, "0011111111"},
        {"select all", 4, -1, kAllOn},
    };
    for (const Step& step : steps) {
        if (step.command) SendMessageA(window, WM_COMMAND, WPARAM(step.command), 0);
        if (step.checkBox >= 0) SendMessageA(GetDlgItem(View(window), 3000 + step.checkBox), BM_CLICK, 0, 0);
        ok(Enabled(window) == std::string(step.buttons), "%s: buttons %s, expected %s", step.what,
           Enabled(window).c_str(), step.buttons);
    }
    // Pictor announces itself: transfer stays off, after a new refresh too.
    PostMessageA(FindWindowA(kHideClass, nullptr), kMsgPictorHello, 0, 0);
    PumpFor(100);
    PostMessageA(window, WM_COMMAND, 6, 0);
    ok(WaitIdle(window), "no refresh");
    ok(Enabled(window) == "1011111111", "with Pictor: buttons %s", Enabled(window).c_str());

    ok(CloseWindow(window, IDCANCEL), "window did not close");
    ok(FrameFiles().empty(), "%u frame files left after closing", unsigned(FrameFiles().size()));
    gCam.loadScenes("still:640:chart,still:320:bars");
}

// What a refresh leaves out: frames that fail or do not fit, clip parities,
// a camera that goes away, a temporary folder that cannot be written.
void TestRefreshEdges() {
    Stage s("vantage-edges-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    struct Case {
        const char* what;
        const char* scenes;
        int fault, value;
        const char* captions;
        const char* buttons;
        int frameFiles;
    };
    const Case cases[] = {
        {"same parity merges", "clip:320:wedge:2:1,clip:320:bars:2:1,still:320:ramp", 0, 0, "1(AVI)|2", kAllOn, 5},
        {"first clip of parity 0", "clip:320:wedge:2:0,still:320:ramp", 0, 0, "1(AVI)|2", kAllOn, 3},
        {"an oversized frame", "still:320:bars,still:320:ramp,clip:320:wedge:2", kSimCamOversizedFrame, 1,
         "1|2(AVI)", kAllOn, 3},
        {"a failed clip frame", "clip:320:wedge:3", kSimCamFrameFails, 1, "1(AVI)", kAllOn, 2},
        {"a still that fails", "still:320:bars", kSimCamFrameFails, 0, "", kNoPictures, 0},
        {"more than the 512 entries the record area holds", "clip:320:wedge:300,clip:320:bars:300", 0, 0,
         "1(AVI)|2(AVI)", kAllOn, 512},
        {"camera gone during the refresh", "still:320:bars,still:320:ramp", kSimCamGoneAfterFrames, 1, "",
         kNoCamera, 0},
    };
    for (const Case& c : cases) {
        gCam.reset();
        gCam.loadScenes(c.scenes);
        if (c.fault) gCam.setFault(c.fault, c.value);
        const HWND window = s.Open();
        ok(WaitIdle(window), "%s: no refresh", c.what);
        PumpFor(300);  // a refresh that found the camera gone starts another
        WaitIdle(window);
        ok(Captions(window) == c.captions, "%s: captions \"%s\", expected \"%s\"", c.what, Captions(window).c_str(),
           c.captions);
        ok(Enabled(window) == std::string(c.buttons), "%s: buttons %s, expected %s", c.what, Enabled(window).c_str(),
           c.buttons);
        ok(int(FrameFiles().size()) == c.frameFiles, "%s: %u frame files, expected %d", c.what,
           unsigned(FrameFiles().size()), c.frameFiles);
        CloseWindow(window, IDCANCEL);
    }

    // A temporary folder that cannot be written: an empty view, no pictures.
    char temp[MAX_PATH];
    GetEnvironmentVariableA("TMP", temp, MAX_PATH);
    SetEnvironmentVariableA("TMP", "Q:\\no such drive");
    gCam.reset();
    gCam.loadScenes("still:640:chart,still:320:bars");
    const HWND window = s.Open();
    ok(WaitIdle(window), "unwritable folder: no refresh");
    ok(Captions(window).empty() && Enabled(window) == std::string(kNoPictures),
       "unwritable folder: captions \"%s\" buttons %s", Captions(window).c_str(), Enabled(window).c_str());
    CloseWindow(window, IDCANCEL);
    SetEnvironmentVariableA("TMP", temp);
}

void TestDeleteAll() {
    Stage s("vantage-delete-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    gCam.loadScenes("still:640:chart,still:320:bars");
    const HWND window = s.Open();
    ok(WaitIdle(window), "no refresh");
    for (int answer : {IDNO, IDYES}) {
        gCam.reset();
        std::string question, done;
        Script user([&] {
            HWND box = WaitForOwnedDialog(window, "", 5000);
            question = MessageText(box);
            PostMessageA(box, WM_COMMAND, WPARAM(answer), 0);
            if (answer != IDYES) return;
            for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
            box = WaitForOwnedDialog(window, "", 5000);
            done = MessageText(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        PostMessageA(window, WM_COMMAND, 3004, 0);
        user.Finish();
        PumpFor(100);
        ok(question == "All Pictures in Camera will be erased!\nAre you sure?", "question \"%s\"", question.c_str());
        if (answer == IDNO) {
            ok(gCam.Log().empty() && Captions(window) == "1|2" && Enabled(window) == std::string(kAllOn) &&
                   FrameFiles().size() == 2,
               "No changed something: calls \"%s\", captions \"%s\", buttons %s", gCam.Log().c_str(),
               Captions(window).c_str(), Enabled(window).c_str());
        } else {
            ok(done == "Remove Files OK.", "after deleting: \"%s\"", done.c_str());
            ok(gCam.Log() == "2,1,10,2", "delete called \"%s\", expected 2,1,10,2", gCam.Log().c_str());
            ok(Captions(window).empty() && FrameFiles().empty() && Enabled(window) == std::string(kNoPictures),
               "after deleting: captions \"%s\", %u files, buttons %s", Captions(window).c_str(),
               unsigned(FrameFiles().size()), Enabled(window).c_str());
        }
    }
    CloseWindow(window, IDCANCEL);
    gCam.loadScenes("still:640:chart,still:320:bars");
}

// Closing by the title bar while a refresh runs: the window goes at once,
// the worker finishes and deletes every file it made.
void TestCloseDuringRefresh() {
    Stage s("vantage-midclose-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    gCam.reset();
    // Closed while the clip's frames are stored.
    gCam.loadScenes("clip:640:bars:60,still:640:chart,still:640:ramp");
    const HWND window = s.Open();
    const bool started = PumpUntil([&] { return FrameFiles().size() > 2; }, 10000);
    const bool running = !IsWindowEnabled(GetDlgItem(window, 7));
    ok(started && running, "refresh seen %d, still running %d", started, running);
    ok(IsWindowEnabled(GetDlgItem(window, 2)), "the close button is disabled during a refresh");
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ok(PumpUntil([&] { return !IsWindow(window); }, 2000), "the title-bar close did not close the window");
    ok(PumpUntil([&] { return FrameFiles().empty(); }, 30000), "%u frame files left after the refresh ended",
       unsigned(FrameFiles().size()));
    gCam.loadScenes("still:640:chart,still:320:bars");
}

// Download runs the progress dialog; its texts come from keys 33 to 35, its
// end shows in the label and the user closes it.
void TestProgressDialog() {
    Stage s("vantage-progress-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n[" + Section() + "]\r\n33=Working\r\n35=Done\r\n");
    if (!s.Load()) return;
    gCam.reset();
    const HWND window = s.Open();
    ok(WaitIdle(window), "no refresh");
    std::string button, label;
    bool closable = false;
    Script user([&] {
        HWND progress = WaitForOwnedDialog(window, "Working", 5000);
        ok(progress != nullptr, "no progress dialog");
        if (!progress) return;
        button = ItemText(progress, 2);
        for (int i = 0; i < 250 && ItemText(progress, 3018).empty(); ++i) Sleep(20);
        label = ItemText(progress, 3018);
        closable = IsWindowEnabled(GetDlgItem(progress, 2)) && IsWindowVisible(GetDlgItem(progress, 2));
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(window, WM_COMMAND, 3003, 0);
    user.Finish();
    PumpFor(100);
    ok(button == "Done", "progress button reads \"%s\"", button.c_str());
    ok(!label.empty() && closable, "end of the download: label \"%s\", button 2 usable %d", label.c_str(), closable);
    ok(Enabled(window) == std::string(kAllOn), "after the download: buttons %s", Enabled(window).c_str());
    CloseWindow(window, IDCANCEL);
}

// The data source frees Vantage.dll with the window still open, on this
// thread or on another: the window keeps its code and works on; the library
// goes once the window is closed, and loads again afterwards.
void TestUnloadWithWindowOpen() {
    Stage s("vantage-unload-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    const std::string dll = s.File("Vantage.dll");
    for (bool otherThread : {false, true}) {
        if (!s.Load()) return;
        const HWND window = s.Open();
        ok(WaitIdle(window), "no refresh");
        gCam.reset();
        if (otherThread)
            std::thread([module = s.module] { FreeLibrary(module); }).join();
        else
            FreeLibrary(s.module);
        s.module = nullptr;
        PumpFor(300);
        ok(IsWindow(window) && GetModuleHandleA(dll.c_str()) != nullptr,
           "unload from %s thread: window %d, library loaded %d, expected both", otherThread ? "another" : "this",
           IsWindow(window), GetModuleHandleA(dll.c_str()) != nullptr);
        ok(CloseWindow(window, IDCANCEL), "the window no longer closes after the unload");
        ok(gCam.Log() == "5,2,2", "closing called \"%s\", expected 5,2,2", gCam.Log().c_str());
        ok(s.Gone(3000), "Vantage.dll still loaded after its window closed");
    }
    ok(s.Load(), "Vantage.dll does not load again after an unload");
}

// A data-source handler that calls OpenVantage while an earlier call waits
// for the previous window to close gets null; the outer call opens the one
// window.
HWND gNestedResult = reinterpret_cast<HWND>(1);
const Stage* gNestedStage = nullptr;

LRESULT CALLBACK NestedCallerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) gNestedResult = gNestedStage->Open();
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK CountHideWindows(HWND window, LPARAM count) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, kHideClass) == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int HideWindowCount() {
    int count = 0;
    EnumWindows(CountHideWindows, reinterpret_cast<LPARAM>(&count));
    return count;
}

void TestNestedOpen() {
    Stage s("vantage-nested-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = NestedCallerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "NestedCaller";
    RegisterClassA(&wc);
    HWND caller = CreateWindowA("NestedCaller", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    gNestedStage = &s;
    const HWND first = s.Open();
    LetStartUpRun();
    PostMessageA(caller, WM_APP, 0, 0);  // dispatched inside the next call's wait
    const HWND second = s.Open();
    ok(gNestedResult == nullptr, "nested OpenVantage returned %p, expected null", static_cast<void*>(gNestedResult));
    ok(second && IsWindow(second) && !IsWindow(first), "outer call: window %p (alive %d), first alive %d",
       static_cast<void*>(second), IsWindow(second), IsWindow(first));
    ok(HideWindowCount() == 1, "%d hide windows, expected 1", HideWindowCount());
    CloseWindow(second, IDCANCEL);
    DestroyWindow(caller);
    UnregisterClassA("NestedCaller", wc.hInstance);
}

BOOL CALLBACK CountDialogs(HWND window, LPARAM count) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadDialogCount() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountDialogs, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Without its hide window a camera window could never be closed by a later
// OpenVantage: none is made.
void TestNoHideWindow() {
    Stage s("vantage-nohide-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    ok(UnregisterClassA(kHideClass, s.module) != FALSE, "hide-window class not found (error %lu)", GetLastError());
    const int before = ThreadDialogCount();
    const HWND window = s.Open();
    ok(window == nullptr, "OpenVantage returned %p without a hide window", static_cast<void*>(window));
    PumpFor(100);
    ok(ThreadDialogCount() == before, "%d dialogs of this thread left, expected %d", ThreadDialogCount(), before);
    s.Unload();
    ok(s.Gone(3000), "Vantage.dll still loaded after the failed OpenVantage and the unload");
}

// A closing request while the options dialog's folder browser is open ends
// the browser, then the options dialog, then the camera window.
void TestCloseRequestDuringBrowser() {
    Stage s("vantage-browser-", true, true);
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n");
    if (!s.Load()) return;
    const HWND window = s.Open();
    LetStartUpRun();
    bool sawBrowser = false, browserGone = false, optionsGone = false;
    Script user([&] {
        HWND options = WaitForOwnedDialog(window, "Options", 5000);
        if (!options) return;
        Press(options, 3015);
        HWND browser = WaitForOwnedDialog(options, "Options", 5000);
        sawBrowser = browser != nullptr;
        PostMessageA(FindWindowA(kHideClass, nullptr), kMsgCloseRequest, 0, 0);
        for (int i = 0; i < 250 && IsWindow(browser); ++i) Sleep(20);
        browserGone = !IsWindow(browser);
        for (int i = 0; i < 250 && IsWindow(options); ++i) Sleep(20);
        optionsGone = !IsWindow(options);
    });
    PostMessageA(window, WM_COMMAND, 3, 0);
    PumpUntil([&] { return user.Done() && !IsWindow(window); }, 15000);
    user.Finish();
    ok(sawBrowser, "the folder browser did not open");
    ok(browserGone && optionsGone, "after the closing request: browser gone %d, options gone %d", browserGone,
       optionsGone);
    ok(!IsWindow(window), "camera window survived the closing request");
}

void TestWithoutLexis() {
    Stage s("vantage-nolexis-", false, true);
    if (!s.Load()) return;
    const HWND window = s.Open();
    ok(window == nullptr, "OpenVantage without Lexis.DLL returned a window");
    ok(!FindWindowA(kHideClass, nullptr), "hide window without a camera window");
}

}  // namespace

int main(int argc, char** argv) {
    if (!vantage_stage::StartUp(argc, argv)) return argc < 6 ? 2 : wine_test::Finish();
    using vantage_stage::Run;
    Run("TestOpenAndClose", [] { TestOpenAndClose(); });
    Run("TestHandshake", [] { TestHandshake(); });
    Run("TestHiddenMode", [] { TestHiddenMode(); });
    Run("TestPictorAndRestore", [] { TestPictorAndRestore(); });
    Run("TestDeviceChange", [] { TestDeviceChange(); });
    Run("TestOptionsAndPath", [] { TestOptionsAndPath(); });
    Run("TestAbout(true)", [] { TestAbout(true); });
    Run("TestAbout(false)", [] { TestAbout(false); });
    Run("TestRefreshAndSelection", [] { TestRefreshAndSelection(); });
    Run("TestRefreshEdges", [] { TestRefreshEdges(); });
    Run("TestDeleteAll", [] { TestDeleteAll(); });
    Run("TestCloseDuringRefresh", [] { TestCloseDuringRefresh(); });
    Run("TestProgressDialog", [] { TestProgressDialog(); });
    Run("TestUnloadWithWorker", [] { TestUnloadWithWorker(); });
    Run("TestUnloadWithWindowOpen", [] { TestUnloadWithWindowOpen(); });
    Run("TestNestedOpen", [] { TestNestedOpen(); });
    Run("TestNoHideWindow", [] { TestNoHideWindow(); });
    Run("TestCloseRequestDuringBrowser", [] { TestCloseRequestDuringBrowser(); });
    Run("TestWithoutLexis", [] { TestWithoutLexis(); });
    Run("TestBoundedWait", [] { TestBoundedWait(); });
    return wine_test::Finish();
}
