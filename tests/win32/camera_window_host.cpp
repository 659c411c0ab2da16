// Opens the camera window the way the data source does, with the simulated
// camera, and keeps it open for a while: for screenshots and for looking at
// the window by hand. With "nocamera" the camera does not answer; the
// "No Camera." message is then closed after two seconds. With "options" or
// "about" that dialog is opened once the window has started; with "video" the
// video window, switched to 640 x 480 after three seconds; with "enlarge"
// the enlarged view of the first picture (a still), with "clip" that of the
// second (a clip). With "download" every picture is downloaded once the
// refresh has ended (the result is printed and the progress dialog closed),
// and "ready" printed. With "full" or "download", and for SECONDS 0 (the
// window stays until the user closes it), the camera holds ten pictures.
//   camera_window_host VANTAGE_DLL SIMCAM_DLL SECONDS [nocamera|options|about|full|download|video|enlarge|clip]
#include <windows.h>

#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camera_ops.h"
#include "simcam.h"
#include "ui_test_support.h"

using namespace ui_test;

namespace {

// Waits for the refresh (the information button is disabled only while one
// runs), presses Download and waits for the progress dialog's last word.
void Download(HWND window) {
    HWND about = GetDlgItem(window, 7);
    PumpFor(1000);
    PumpUntil([&] { return IsWindowEnabled(about) != FALSE; }, 60000);
    std::string result;
    Script user([&] {
        HWND progress = nullptr;
        for (int i = 0; i < 500 && !progress; ++i) {
            progress = FindWindowA("#32770", "Progress");
            if (progress && GetWindow(progress, GW_OWNER) != window) progress = nullptr;
            Sleep(20);
        }
        if (!progress) return;
        // The label shows the counts while the work runs and one of the
        // results (the strings file's defaults) at its end.
        for (int i = 0; i < 3000; ++i) {
            result = WindowText(GetDlgItem(progress, 3018));
            if (result == "Download succeed." || result == "Download Error" || result == "No Picture.") break;
            Sleep(20);
        }
        PostMessageA(progress, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageA(window, WM_COMMAND, 3003, 0);
    user.Finish(70000);
    std::printf("download: %s\n", result.empty() ? "no answer" : result.c_str());
    PumpFor(500);
    std::printf("ready\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: camera_window_host VANTAGE_DLL SIMCAM_DLL SECONDS "
                    "[nocamera|options|about|full|download|video|enlarge|clip]\n");
        return 2;
    }
    HMODULE vantage = LoadLibraryA(argv[1]);
    HMODULE simcam = LoadLibraryA(argv[2]);
    auto open = vantage ? platform::FindEntryAs<OpenVantageFn>(vantage, "OpenVantage") : nullptr;
    auto getOperations = simcam ? platform::FindEntryAs<decltype(&SimCamGetOperations)>(simcam, "SimCamGetOperations") : nullptr;
    auto setFault = simcam ? platform::FindEntryAs<decltype(&SimCamSetFault)>(simcam, "SimCamSetFault") : nullptr;
    auto loadScenes = simcam ? platform::FindEntryAs<decltype(&SimCamLoadScenes)>(simcam, "SimCamLoadScenes") : nullptr;
    auto takeImages = simcam ? platform::FindEntryAs<decltype(&SimCamTakeTransferred)>(simcam, "SimCamTakeTransferred") : nullptr;
    if (!open || !getOperations || !setFault || !loadScenes || !takeImages) {
        std::printf("cannot load %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const char* mode = argc > 4 ? argv[4] : "";
    const bool noCamera = std::strcmp(mode, "nocamera") == 0;
    if (noCamera) setFault(kSimCamNoCamera, 1);
    const bool download = std::strcmp(mode, "download") == 0;
    const DWORD seconds = DWORD(std::atoi(argv[3]));
    if (std::strcmp(mode, "full") == 0 || download || seconds == 0)
        loadScenes("still:640:chart,clip:320:wedge:3,still:320:bars,clip:640:ramp:2,still:640:bars,still:320:chart,"
                   "clip:640:wedge:2,still:640:ramp,clip:320:chart:2,still:320:wedge");
    CameraOps o = {};
    getOperations(&o);
    HWND source = CreateWindowA("STATIC", "data source", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const HWND window = open(source, o.OpenCamera, o.CloseCamera, o.TogglePreview, o.StartCapture, o.NotifyClose,
                             o.SetFrameSize, o.ReadDirectory, o.ReadEntries, o.ReadFrame, o.DeleteAllPictures,
                             o.GetFrameInfo, o.SwitchVideoSize, o.TransferImages);
    if (!window) {
        std::printf("OpenVantage returned no window\n");
        return 1;
    }
    Script closeMessage([&] {
        if (!noCamera) return;
        HWND box = WaitForOwnedDialog(window, "Camera", 5000);
        Sleep(2000);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    const int command = std::strcmp(mode, "options") == 0 ? 3 : std::strcmp(mode, "about") == 0 ? 7 : 0;
    if (command) {
        PumpFor(500);
        PostMessageA(window, WM_COMMAND, WPARAM(command), 0);
    }
    if (std::strcmp(mode, "video") == 0) {
        PumpFor(2000);
        PostMessageA(window, WM_COMMAND, 3022, 0);
        PumpFor(3000);
        HWND video = FindWindowExA(window, nullptr, "#32770", nullptr);
        PostMessageA(video, WM_COMMAND, 3002, 0);
    }
    const bool clip = std::strcmp(mode, "clip") == 0;
    if (clip || std::strcmp(mode, "enlarge") == 0) {
        PumpFor(2000);
        // A double-click on the first or second thumbnail.
        PostMessageA(FindWindowExA(window, nullptr, "wingui.ScrollView", nullptr), WM_LBUTTONDBLCLK, 0,
                     MAKELPARAM(clip ? 188 : 40, 40));
    }
    if (std::strcmp(mode, "full") == 0) {
        PumpFor(8000);
        SendMessageA(FindWindowExA(window, nullptr, "wingui.ScrollView", nullptr), WM_VSCROLL, SB_BOTTOM, 0);
    }
    if (download) Download(window);
    // At the end the closing request: it also ends a dialog that runs.
    Script closeAll([&] {
        if (seconds == 0) return;
        Sleep(seconds * 1000);
        PostMessageA(FindWindowA("VEXA_TWain_HideWnd", nullptr), 1226, 0, 0);
    });
    // As a data source does: images handed over by a transfer are delivered
    // (here: counted and freed), then the camera window hears that the
    // transfer is done (1125) and closes itself.
    PumpUntil(
        [&] {
            static HGLOBAL images[4096];
            const int count = takeImages(images, 4096);
            for (int i = 0; i < count; ++i) GlobalFree(images[i]);
            if (count > 0) {
                std::printf("transferred %d images\n", count);
                std::fflush(stdout);
                PostMessageA(window, 1125, 0, 0);
            }
            return !IsWindow(window);
        },
        seconds ? seconds * 1000 + 5000 : INFINITE);
    closeMessage.Finish();
    closeAll.Finish();
    return 0;
}
