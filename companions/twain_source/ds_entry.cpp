// SimSource.ds: the library's one export and its load hooks.
#include <windows.h>

#include "data_source.h"

extern "C" twain::TW_UINT16 WINAPI DS_Entry(twain::TW_IDENTITY* origin, twain::TW_UINT32 group,
                                            twain::TW_UINT16 argument, twain::TW_UINT16 message,
                                            twain::TW_MEMREF data) {
    return sim_source::HandleTriplet(origin, group, argument, message, data);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        sim_source::AttachSource(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // At process end (reserved set) other libraries may be gone already.
        sim_source::DetachSource();
    }
    return TRUE;
}
