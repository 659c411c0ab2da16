// Windows services of Vantage: folders, locale, the driver's status value,
// the temporary folder and its name rule.
#include "system_win32.h"

#include <shlobj.h>

namespace {

constexpr const char* kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\GENERIC\\Parameters";
constexpr const char* kStatusValue = "Status";

}  // namespace

std::string CWindowsFolders::DocumentsFolder() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

bool CWindowsFolders::MakeFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    // Only an existing folder counts: a file of that name does not.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LocaleIds SystemLocale() { return {GetACP(), GetSystemDefaultLangID()}; }

DWORD ReadDeviceStatus() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (RegQueryValueExA(key, kStatusValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&status), &size) != ERROR_SUCCESS ||
        size != sizeof status)
        status = 0;
    RegCloseKey(key);
    return status;
}

std::string SystemTempFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length >= sizeof path) return std::string();
    std::string folder(path, length);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

bool FileNameInUse(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return true;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}
