// Load and unload hooks of the shared library: start-up reads the settings
// beside the library itself (not beside the host program).
#include "library.h"
#include "platform/platform.h"

#ifdef _WIN32
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) PrismStartUp(platform::OwnModuleFolder().c_str());
    if (reason == DLL_PROCESS_DETACH) PrismShutDown();
    return TRUE;
}
#else
__attribute__((constructor)) static void LoadPrism() { PrismStartUp(platform::OwnModuleFolder().c_str()); }
__attribute__((destructor)) static void UnloadPrism() { PrismShutDown(); }
#endif
