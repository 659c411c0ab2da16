// Module hold: reference taken by address, dropped at once or on a thread.
#include "module_hold.h"

namespace wingui {

namespace {

struct DelayedRelease {
    HMODULE module;
    DWORD graceMs;
};

// Runs no code of the library after FreeLibraryAndExitThread: the thread ends
// inside the system.
DWORD WINAPI ReleaseThread(void* param) {
    const DelayedRelease release = *static_cast<DelayedRelease*>(param);
    delete static_cast<DelayedRelease*>(param);
    Sleep(release.graceMs);
    FreeLibraryAndExitThread(release.module, 0);
}

}  // namespace

ModuleHold::~ModuleHold() {
    if (module_) FreeLibrary(module_);
}

bool ModuleHold::Acquire(const void* code) {
    if (module_) return true;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCSTR>(code), &module)) return false;
    if (module == GetModuleHandleA(nullptr))
        FreeLibrary(module);  // the program itself needs no hold
    else
        module_ = module;
    return true;
}

void ModuleHold::ReleaseLater(DWORD graceMs) {
    if (!module_) return;
    auto* release = new DelayedRelease{module_, graceMs};
    module_ = nullptr;  // from here on the thread owns it, or it is kept for good
    HANDLE thread = CreateThread(nullptr, 0, ReleaseThread, release, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        delete release;
}

}  // namespace wingui
