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
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&OwnModuleFolder), &self))
        return {};
    // Long module paths exist (up to 32767 characters): grow until it fits.
    constexpr DWORD kLongestPath = 32768;
    std::string file(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(self, &file[0], DWORD(file.size()));
        if (n == 0) return {};
        if (n < file.size()) {
            file.resize(n);
            break;
        }
        if (file.size() >= kLongestPath) return {};
        file.resize(file.size() * 2);
    }
    const auto slash = file.find_last_of('\\');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

void* OpenModule(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }

void* FindEntry(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void CloseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

int MulDiv(int a, int b, int c) { return ::MulDiv(a, b, c); }

}  // namespace platform
