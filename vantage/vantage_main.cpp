// Load and unload of Vantage.dll. Load: note a running Pictor, register the
// hide window's class (a failure fails the load), bind Prism.dll from
// Vantage's folder (a missing Prism.dll is no failure). Unload: close a
// camera window still open on this thread, release Prism.dll, take the
// class away again (a later load registers it anew).
#include <windows.h>

#include "camera_dlg.h"
#include "platform/platform.h"
#include "settings_keys.h"
#include "system_win32.h"
#include "ui/hide_wnd.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr DWORD kWorkerStopMs = 10000;  // one frame's development and a little

bool LoadVantage(HINSTANCE instance) {
    gVantage.instance = instance;
    gVantage.folder = platform::OwnModuleFolder();
    gVantage.iniPath = VantageFile(kSettingsFileName);
    gVantage.strings.Bind(gVantage.iniPath, SystemLocale);
    if (FindWindowA(kPictorHideClass, nullptr)) gVantage.hostedByPictor = 1;
    if (!CHideWnd::RegisterHideClass(instance)) return false;
    gVantage.prism.Bind(gVantage.folder);
    return true;
}

// The windows' code goes with the library: a window left open by the data
// source is closed first, when this thread owns it. The worker is told to
// quit and waited for (bounded), before Prism.dll, which it calls, goes.
void UnloadVantage(bool processEnds) {
    if (!processEnds && gVantage.cameraDlg) {
        const HWND window = gVantage.cameraDlg->Handle();
        if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) DestroyWindow(window);
    }
    if (!processEnds) gVantage.worker.Stop(kWorkerStopMs);
    gVantage.prism.Release();
    if (!processEnds) CHideWnd::UnregisterHideClass(gVantage.instance);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) return LoadVantage(instance) ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH) UnloadVantage(reserved != nullptr);
    return TRUE;
}
