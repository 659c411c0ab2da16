// The camera window's video window and enlarged view as the data source and
// the user meet them (vantage_stage.h stages the library and plays the data
// source; a script thread plays the user in the modal enlarged view).
//   vantage_views_test VANTAGE_DLL LEXIS_DLL PRISM_DLL SIMCAM_DLL ICON_FILE [SCENARIO]
#include "vantage_stage.h"

#include <vfw.h>

#include <functional>

#include "../../prism/dialogs/dialog_ids.h"

namespace {

using namespace vantage_stage;

constexpr UINT kRunOnUiThread = WM_APP + 7;
constexpr UINT kMsgSettingsChanged = 1347;
constexpr WPARAM kOpenRawFile = 32, kTuning = 16;
constexpr const char* kTuningTitle = "Color Processing Parameters";
constexpr COLORREF kWhite = RGB(255, 255, 255);
WNDPROC gSourceProc = nullptr;

// The data source's window runs functions on this (the user-interface)
// thread for the script thread: the keyboard state is the thread's own.
LRESULT CALLBACK SourceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunOnUiThread) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return CallWindowProcA(gSourceProc, window, message, wParam, lParam);
}

void RunOnUiThread(const std::function<void()>& action) {
    SendMessageA(gSource, kRunOnUiThread, 0, reinterpret_cast<LPARAM>(&action));
}

void HoldAlt(bool held) {
    RunOnUiThread([held] {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_MENU] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    });
}

void RightClick(HWND window, bool alt, bool ctrl) {
    HoldAlt(alt);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON | (ctrl ? MK_CONTROL : 0), MAKELPARAM(50, 50));
    SendMessageA(window, WM_RBUTTONUP, ctrl ? MK_CONTROL : 0, MAKELPARAM(50, 50));
    HoldAlt(false);
}

HWND VideoWindow(HWND camera) { return FindWindowExA(camera, nullptr, "#32770", nullptr); }

RECT WindowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

SIZE ClientSize(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

COLORREF Pixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void WriteBytes(const std::string& path, std::size_t size, BYTE value) {
    std::string bytes(size, char(value));
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(size), &written, nullptr);
    CloseHandle(f);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A camera window with its first refresh done, or null.
HWND OpenCameraWindow(Stage& s, const char* scenes, const std::string& strings = "") {
    s.WriteIni("[Setting]\r\nPath=" + s.File("pictures") + "\r\n[" + Section() + "]\r\n" + strings);
    if (!s.Load()) return nullptr;
    gCam.reset();
    gCam.loadScenes(scenes);
    const HWND window = s.Open();
    ok(window && WaitIdle(window), "the camera window did not finish its refresh");
    return window;
}

void TestVideoWithoutCamera() {
    Stage s("views-nocamera-", true, true);
    const HWND window = OpenCameraWindow(s, "still:640:chart");
    if (!window) return;
    gCam.reset();
    gCam.setFault(kSimCamNoCamera, 1);
    SendMessageA(window, WM_COMMAND, 3022, 0);
    ok(VideoWindow(window) == nullptr, "a video window opened without a camera");
    ok(Enabled(window) == std::string(kNoCamera), "buttons %s, expected %s", Enabled(window).c_str(), kNoCamera);
    ok(gCam.Log() == "1", "camera calls \"%s\", expected 1", gCam.Log().c_str());
    gCam.reset();
    CloseWindow(window, IDCANCEL);
}

void TestVideoWindow() {
    Stage s("views-video-", true, true);
    const HWND window = OpenCameraWindow(s, "still:640:chart", "49=Ready\r\n50=Set\r\n23=Shoot\r\n25=XXX\r\n");
    if (!window) return;
    SendMessageA(window, kMsgPictorHello, 0, 0);  // Pictor hosts: the camera window goes topmost
    const RECT before = WindowRect(window);
    gCam.reset();
    SendMessageA(window, WM_COMMAND, 3022, 0);
    const HWND video = VideoWindow(window);
    ok(video && IsWindowVisible(video), "no video window");
    if (!video) return;
    ok(gCam.Log() == "1,6,3,11,6", "opening called \"%s\", expected 1,6,3,11,6", gCam.Log().c_str());
    ok(ItemText(video, 3006) == "Shoot" && ItemText(video, 3002) == "Size" && ItemText(video, 2) == "Close",
       "buttons read \"%s\" \"%s\" \"%s\", expected Shoot and the template's Size and Close",
       ItemText(video, 3006).c_str(), ItemText(video, 3002).c_str(), ItemText(video, 2).c_str());
    ok((GetWindowLongPtrA(GetDlgItem(video, 3006), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW,
       "the capture button has no face of its own");
    ok(!Visible(window, 3027) && !Visible(window, 3028),
       "labels 3027/3028 still shown beneath the video window");
    ok((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "camera window not topmost under Pictor");
    const HWND preview = GetDlgItem(video, 3000);
    PumpFor(300);
    ok(Pixel(preview, 1, 1) != RGB(0, 0, 0), "no live video in the preview area");
    // The video window is above the camera window's buttons and view: it
    // takes the clicks, and the view beneath repaints without drawing over
    // the live video.
    RECT capture;
    GetWindowRect(GetDlgItem(video, 3006), &capture);
    const POINT centre = {(capture.left + capture.right) / 2, (capture.top + capture.bottom) / 2};
    ok(WindowFromPoint(centre) == GetDlgItem(video, 3006), "the capture button is not the window under the mouse");
    RECT area;
    GetWindowRect(preview, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(View(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const COLORREF shown = Pixel(window, area.left + 100, area.bottom - 20);
    ok(shown != GetSysColor(COLOR_BTNFACE) && shown != RGB(0, 0, 0), "pixel 0x%06lx over the live video", shown);

    // 320 x 240 -> 640 x 480: both windows grow by the video's growth, in place.
    const RECT video1 = WindowRect(video), camera1 = WindowRect(window);
    const SIZE small = ClientSize(preview);
    ok(small.cx == 322 && small.cy == 242, "preview area %ldx%ld, expected 322x242", small.cx, small.cy);
    ok(camera1.right - camera1.left == video1.right - video1.left &&
           camera1.bottom - camera1.top == video1.bottom - video1.top,
       "camera window and video window differ in size");
    gCam.reset();
    SendMessageA(video, WM_COMMAND, 3002, 0);
    ok(gCam.Log() == "12,11,6", "size switch called \"%s\", expected 12,11,6", gCam.Log().c_str());
    const SIZE large = ClientSize(preview);
    ok(large.cx == 642 && large.cy == 482, "preview area %ldx%ld, expected 642x482", large.cx, large.cy);
    for (HWND w : {video, window}) {
        const RECT a = w == video ? video1 : camera1, b = WindowRect(w);
        ok(b.left == a.left && b.top == a.top && b.right - b.left == a.right - a.left + 320 &&
               b.bottom - b.top == a.bottom - a.top + 240,
           "%s window went from (%ld,%ld %ldx%ld) to (%ld,%ld %ldx%ld)", w == video ? "video" : "camera", a.left,
           a.top, a.right - a.left, a.bottom - a.top, b.left, b.top, b.right - b.left, b.bottom - b.top);
    }

    // Capture: capture and size off until the camera reports the end.
    gCam.reset();
    SendMessageA(video, WM_COMMAND, 3006, 0);
    ok(!ItemEnabled(video, 3006) && !ItemEnabled(video, 3002), "capture and size enabled during the capture");
    PumpFor(200);
    ok(ItemEnabled(video, 3006) && ItemEnabled(video, 3002), "capture and size not enabled after its end");
    ok(gCam.Log() == "4,3,2,1,3", "capture called \"%s\", expected 4,3,2,1,3", gCam.Log().c_str());

    // Closing the camera window while the video window is open closes only
    // the video window; the camera window is back where it was.
    gCam.reset();
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return !IsWindow(video); }, 3000);
    ok(!IsWindow(video) && IsWindow(window), "closing: video window %d, camera window %d", IsWindow(video),
       IsWindow(window));
    ok(gCam.Log() == "3,2", "closing called \"%s\", expected 3,2", gCam.Log().c_str());
    const RECT after = WindowRect(window);
    ok(SameRect(after, before), "camera window at (%ld,%ld)-(%ld,%ld), expected (%ld,%ld)-(%ld,%ld)", after.left,
       after.top, after.right, after.bottom, before.left, before.top, before.right, before.bottom);
    ok(Visible(window, 3027) && Visible(window, 3028), "labels not shown again");
    ok((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0, "camera window still topmost");

    // The camera going away disables capture and size.
    SendMessageA(window, WM_COMMAND, 3022, 0);
    const HWND again = VideoWindow(window);
    ok(again && ItemEnabled(again, 3006), "video window did not open again");
    gCam.setDeviceStatus(0);
    SendMessageA(window, WM_DEVICECHANGE, 7, 0);
    ok(again && !ItemEnabled(again, 3006) && !ItemEnabled(again, 3002), "capture and size enabled with the camera gone");
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return !IsWindow(again); }, 3000);
    CloseWindow(window, IDCANCEL);
}

// Opens the enlarged view of display position `position` (first row) and
// plays the user in it; false when no view opened.
bool RunEnlarged(HWND window, int position, const std::function<void(HWND)>& user) {
    bool opened = false;
    Script script([&] {
        HWND view = WaitForOwnedDialog(window, "Camera", 5000);
        // Found while it is being made, its bar not yet visible: prepared
        // once it shows and the progress bar has gone.
        for (int i = 0; i < 250 && view && !IsWindowVisible(view); ++i) Sleep(20);
        for (int i = 0; i < 1500 && view && Visible(view, 3010); ++i) Sleep(20);
        opened = view && !Visible(view, 3010);
        if (view) SendMessageA(view, WM_NULL, 0, 0);  // served once the preparation's handling has ended
        Sleep(200);  // and painted
        if (opened) user(view);
        if (IsWindow(view)) PostMessageA(view, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 250 && IsWindow(view); ++i) Sleep(20);
    });
    PostMessageA(View(window), WM_LBUTTONDBLCLK, 0, MAKELPARAM(20 + 148 * position + 30, 16 + 30));
    script.Finish(60000);
    return opened;
}

void TestEnlargedStill() {
    Stage s("views-still-", true, true);
    const HWND window = OpenCameraWindow(s, "still:640:chart,clip:320:wedge:3");
    if (!window) return;
    const std::string small = s.File("small.raw"), large = s.File("large.raw");
    WriteBytes(small, 76928, 0x60);
    WriteBytes(large, 76800, 0x60);  // any size but 76,928 is 640 x 480
    const bool opened = RunEnlarged(window, 0, [&](HWND view) {
        const SIZE client = ClientSize(view);
        const RECT r = WindowRect(view);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ok(client.cx == 640 && client.cy == 480, "client %ldx%ld, expected 640x480", client.cx, client.cy);
        ok(r.left == (GetSystemMetrics(SM_CXFULLSCREEN) - w) / 2 && r.top == (GetSystemMetrics(SM_CYFULLSCREEN) - h) / 2,
           "window at (%ld,%ld), not centred", r.left, r.top);

        // The menu extension: Alt and Ctrl with a right click, once.
        HMENU menu = GetSystemMenu(view, FALSE);
        const int items = GetMenuItemCount(menu);
        RightClick(view, false, true);
        RightClick(view, true, false);
        ok(GetMenuItemCount(menu) == items, "the menu grew without both Alt and Ctrl");
        RightClick(view, true, true);
        RightClick(view, true, true);
        ok(GetMenuItemCount(menu) == items + 3, "%d menu items, expected %d", GetMenuItemCount(menu), items + 3);
        char text[32] = {};
        GetMenuStringA(menu, UINT(kOpenRawFile), text, sizeof text, MF_BYCOMMAND);
        ok(std::string(text) == "Open RawFile", "command 32 reads \"%s\"", text);
        GetMenuStringA(menu, UINT(kTuning), text, sizeof text, MF_BYCOMMAND);
        ok(std::string(text) == "AurelIP", "command 16 reads \"%s\"", text);

        // A raw file of 76,928 bytes is 320 x 240: white beside and below it.
        const struct {
            const std::string& file;
            bool whiteRight, whiteBelow;
        } raws[] = {{small, true, true}, {large, false, false}};
        const bool rawFiles = !wine_test::LeftOut("TestEnlargedStill: raw files");
        for (const auto& raw : raws) {
            if (!rawFiles) break;
            PostMessageA(view, WM_SYSCOMMAND, kOpenRawFile, 0);
            ok(ChooseFile(view, "Open", raw.file), "the open dialog was not answered");
            SendMessageA(view, WM_NULL, 0, 0);
            Sleep(300);
            ok((Pixel(view, 330, 10) == kWhite) == raw.whiteRight && (Pixel(view, 10, 250) == kWhite) == raw.whiteBelow &&
                   Pixel(view, 10, 10) != kWhite,
               "%s: pixels 0x%06lx right, 0x%06lx below, 0x%06lx inside", raw.file.c_str(), Pixel(view, 330, 10),
               Pixel(view, 10, 250), Pixel(view, 10, 10));
        }

        // Apply in the tuning dialog develops the frame again with its settings.
        const COLORREF before = Pixel(view, 100, 100);
        PostMessageA(view, WM_SYSCOMMAND, kTuning, 0);
        HWND tuning = WaitForWindow("#32770", kTuningTitle, 5000);
        for (int i = 0; i < 250 && tuning && !IsWindowVisible(tuning); ++i) Sleep(20);
        ok(tuning != nullptr, "no tuning dialog");
        if (!tuning) return;
        HWND letters = Control(tuning, IDC_OP_VEXA);
        SendMessageA(letters, WM_SETTEXT, 0, LPARAM("CE"));
        SendMessageA(tuning, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0);
        PostMessageA(tuning, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 250 && IsWindow(tuning); ++i) Sleep(20);
        SendMessageA(view, WM_NULL, 0, 0);
        Sleep(300);
        const COLORREF after = Pixel(view, 100, 100);
        ok(after != before, "pixel 0x%06lx unchanged after Apply", after);
        // Without the tuning dialog: the message alone develops again.
        SendMessageA(view, kMsgSettingsChanged, 0, 0);
        ok(Pixel(view, 100, 100) == after, "development again changed the pixel to 0x%06lx", Pixel(view, 100, 100));
    });
    ok(opened, "no enlarged view of the still");
    CloseWindow(window, IDCANCEL);
}

void TestEnlargedClip() {
    Stage s("views-clip-", true, true);
    const HWND window = OpenCameraWindow(s, "still:640:chart,clip:320:wedge:3");
    if (!window) return;
    const std::string avi = TempFile("__VEXA__.avi");
    const bool opened = RunEnlarged(window, 1, [&](HWND view) {
        HWND media = FindWindowExA(view, nullptr, "MCIWndClass", nullptr);
        ok(media && IsWindowVisible(media), "no media window");
        ok(FileExists(avi), "no temporary AVI");
        if (!media) return;
        ok(SendMessageA(media, MCIWNDM_GETDEVICEID, 0, 0) != 0, "the clip is not open in the media window");
        RECT m;
        GetWindowRect(media, &m);
        const SIZE client = ClientSize(view);
        ok(client.cx == m.right - m.left && client.cy == m.bottom - m.top,
           "client %ldx%ld around a media window of %ldx%ld", client.cx, client.cy, m.right - m.left, m.bottom - m.top);
        HMENU menu = GetSystemMenu(view, FALSE);
        const int items = GetMenuItemCount(menu);
        RightClick(view, true, true);
        ok(GetMenuItemCount(menu) == items, "a clip's menu grew to %d items", GetMenuItemCount(menu));
    });
    ok(opened, "no enlarged view of the clip");
    ok(!FileExists(avi), "the temporary AVI is left behind");
    CloseWindow(window, IDCANCEL);
}

// The closing request ends the open dialog of "Open RawFile", then the
// enlarged view, then the camera window.
void TestCloseRequestDuringRawFile() {
    Stage s("views-request-", true, true);
    const HWND window = OpenCameraWindow(s, "still:320:bars");
    if (!window) return;
    bool sawDialog = false, dialogGone = false, viewGone = false;
    RunEnlarged(window, 0, [&](HWND view) {
        PostMessageA(view, WM_SYSCOMMAND, kOpenRawFile, 0);
        HWND chooser = WaitForOwnedDialog(view, "Open", 5000);
        sawDialog = chooser != nullptr;
        PostMessageA(FindWindowA(kHideClass, nullptr), kMsgCloseRequest, 0, 0);
        for (int i = 0; i < 250 && IsWindow(view); ++i) Sleep(20);
        dialogGone = !IsWindow(chooser);
        viewGone = !IsWindow(view);
    });
    PumpUntil([&] { return !IsWindow(window); }, 5000);
    ok(sawDialog && dialogGone && viewGone, "open dialog seen %d, closed %d; view closed %d", sawDialog, dialogGone,
       viewGone);
    ok(!IsWindow(window), "the camera window survived the closing request");
}

// The camera window going while its enlarged view is open takes the view
// along; nothing of either is used afterwards.
void TestCameraWindowGoesUnderView() {
    Stage s("views-gone-", true, true);
    const HWND window = OpenCameraWindow(s, "still:320:bars,still:640:chart");
    if (!window) return;
    const bool opened = RunEnlarged(window, 1, [&](HWND view) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 250 && IsWindow(view); ++i) Sleep(20);
        ok(!IsWindow(view), "the enlarged view outlived the camera window");
    });
    ok(opened && !IsWindow(window), "view opened %d, camera window gone %d", opened, !IsWindow(window));
    s.Unload();
    ok(s.Gone(3000), "Vantage.dll stays loaded after its window has gone");
}

}  // namespace

int main(int argc, char** argv) {
    if (!vantage_stage::StartUp(argc, argv)) return argc < 6 ? 2 : wine_test::Finish();
    gSourceProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(vantage_stage::gSource, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SourceProc)));
    using vantage_stage::Run;
    Run("TestVideoWithoutCamera", [] { TestVideoWithoutCamera(); });
    Run("TestVideoWindow", [] { TestVideoWindow(); });
    Run("TestEnlargedStill", [] { TestEnlargedStill(); });
    Run("TestEnlargedClip", [] { TestEnlargedClip(); });
    Run("TestCloseRequestDuringRawFile", [] { TestCloseRequestDuringRawFile(); });
    Run("TestCameraWindowGoesUnderView", [] { TestCameraWindowGoesUnderView(); });
    return wine_test::Finish();
}
