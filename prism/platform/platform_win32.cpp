// Win32 backend of the platform unit: the real system functions.
#include <windows.h>

#include "platform.h"

namespace platform {

struct ProfileFile::State {
    std::string path;
    bool written = true;
};

ProfileFile::ProfileFile(const char* path) : state_(new State{path}) {}
ProfileFile::~ProfileFile() = default;

std::size_t ProfileFile::GetText(const char* section, const char* key, const char* fallback, char* out,
                                 std::size_t size) const {
    return GetPrivateProfileStringA(section, key, fallback, out, DWORD(size), state_->path.c_str());
}

int ProfileFile::GetInteger(const char* section, const char* key, int fallback) const {
    return int(GetPrivateProfileIntA(section, key, fallback, state_->path.c_str()));
}

void ProfileFile::WriteText(const char* section, const char* key, const char* value) {
    if (!WritePrivateProfileStringA(section, key, value, state_->path.c_str())) state_->written = false;
}

bool ProfileFile::Commit() { return state_->written; }

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
