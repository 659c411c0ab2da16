// Load and unload of Vantage.dll. Load: note a running Pictor, register the
// hide window's class (a failure fails the load), bind Prism.dll from
// Vantage's folder (a missing Prism.dll is no failure; an unknown folder
// binds nothing). Unload: release Prism.dll, take the class away again (a
// later load registers it anew). An open camera window holds a reference on
// the library, so the unload never comes while one exists. When the process
// ends, other libraries may already be gone: nothing is released then.
#include <windows.h>

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
    if (FindWindowA(kPictorHideClass, nullptr)) gVantage.hostedByPictor = 1;
    if (!CHideWnd::RegisterHideClass(instance)) return false;
    if (gVantage.folder.empty()) return true;  // OpenVantage will refuse
    gVantage.iniPath = VantageFile(kSettingsFileName);
    gVantage.strings.Bind(gVantage.iniPath, SystemLocale);
    gVantage.prism.Bind(gVantage.folder);
    return true;
}

// The worker is told to quit and waited for (bounded) before Prism.dll, which
// it calls, goes. No camera window exists here: an open one holds the library.
void UnloadVantage(bool processEnds) {
    if (processEnds) return;
    gVantage.worker.Stop(kWorkerStopMs);
    gVantage.prism.Release();
    CHideWnd::UnregisterHideClass(gVantage.instance);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) return LoadVantage(instance) ? TRUE : FALSE;
    if (reason == DLL_PROCESS_DETACH) UnloadVantage(reserved != nullptr);
    return TRUE;
}
