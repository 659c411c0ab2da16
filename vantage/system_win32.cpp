// Windows services of Vantage: locale, the driver's status value, the
// temporary folder.
#include "system_win32.h"

namespace {

constexpr const char* kDriverKey = "SYSTEM\\CurrentControlSet\\Services\\GENERIC\\Parameters";
constexpr const char* kStatusValue = "Status";

}  // namespace

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
