// Opens the camera window the way the data source does, with the simulated
// camera, and keeps it open for a while: for screenshots and for looking at
// the window by hand. With "nocamera" the camera does not answer; the
// "No Camera." message is then closed after two seconds. With "options" or
// "about" that dialog is opened once the window has started; with "video" the
// video window, switched to 640 x 480 after three seconds; with "enlarge"
// the enlarged view of the first picture (a still), with "clip" that of the
// second (a clip).
//   camera_window_host VANTAGE_DLL SIMCAM_DLL SECONDS [nocamera|options|about|full|video|enlarge|clip]
#include <windows.h>

#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camera_ops.h"
#include "simcam.h"
#include "ui_test_support.h"

using namespace ui_test;

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: camera_window_host VANTAGE_DLL SIMCAM_DLL SECONDS "
                    "[nocamera|options|about|full|video|enlarge|clip]\n");
        return 2;
    }
    HMODULE vantage = LoadLibraryA(argv[1]);
    HMODULE simcam = LoadLibraryA(argv[2]);
    auto open = vantage ? platform::FindEntryAs<OpenVantageFn>(vantage, "OpenVantage") : nullptr;
    auto getOperations = simcam ? platform::FindEntryAs<decltype(&SimCamGetOperations)>(simcam, "SimCamGetOperations") : nullptr;
    auto setFault = simcam ? platform::FindEntryAs<decltype(&SimCamSetFault)>(simcam, "SimCamSetFault") : nullptr;
    auto loadScenes = simcam ? platform::FindEntryAs<decltype(&SimCamLoadScenes)>(simcam, "SimCamLoadScenes") : nullptr;
    if (!open || !getOperations || !setFault || !loadScenes) {
        std::printf("cannot load %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const char* mode = argc > 4 ? argv[4] : "";
    const bool noCamera = std::strcmp(mode, "nocamera") == 0;
    if (noCamera) setFault(kSimCamNoCamera, 1);
    if (std::strcmp(mode, "full") == 0)
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
    // At the end the closing request: it also ends a dialog that runs.
    const DWORD seconds = DWORD(std::atoi(argv[3]));
    Script closeAll([&] {
        Sleep(seconds * 1000);
        PostMessageA(FindWindowA("VEXA_TWain_HideWnd", nullptr), 1226, 0, 0);
    });
    PumpUntil([&] { return !IsWindow(window); }, seconds * 1000 + 5000);
    closeMessage.Finish();
    closeAll.Finish();
    return 0;
}
