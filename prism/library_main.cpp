// Load and unload hooks of the shared library: start-up reads the settings
// beside the library itself (not beside the host program).
#include "library.h"
#include "platform/platform.h"

#ifdef _WIN32
#include <windows.h>

// A non-null reserved argument at detach means the process is ending.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) PrismStartUp(platform::OwnModuleFolder().c_str());
    if (reason == DLL_PROCESS_DETACH) PrismShutDown(reserved != nullptr);
    return TRUE;
}
#else
__attribute__((constructor)) static void LoadPrism() { PrismStartUp(platform::OwnModuleFolder().c_str()); }
__attribute__((destructor)) static void UnloadPrism() { PrismShutDown(); }
#endif
