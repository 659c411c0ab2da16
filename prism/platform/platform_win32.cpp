// Win32 backend of the platform unit: the real system functions.
#include <windows.h>

#include "platform.h"

namespace platform {

std::size_t GetProfileText(const char* section, const char* key, const char* fallback, char* out,
                           std::size_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, fallback, out, DWORD(size), path);
}

int GetProfileInteger(const char* section, const char* key, int fallback, const char* path) {
    return int(GetPrivateProfileIntA(section, key, fallback, path));
}

bool WriteProfileText(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

std::string OwnModuleFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModuleFolder), &self);
    char file[MAX_PATH];
    const DWORD n = GetModuleFileNameA(self, file, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ".";
    std::string path(file, n);
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

void* OpenModule(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }

void* FindEntry(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void CloseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

int MulDiv(int a, int b, int c) { return ::MulDiv(a, b, c); }

}  // namespace platform
