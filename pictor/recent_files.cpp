// Recent-file list in the registry.
#include "recent_files.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr const char* kListKey = "Software\\Local AppWizard-Generated Applications\\Pictor\\Recent File List";

std::string ValueName(int i) { return "File" + std::to_string(i + 1); }

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace

std::vector<std::string> RecentFiles() {
    std::vector<std::string> files;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kListKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return files;
    for (int i = 0; i < kRecentFileCount; ++i) {
        char value[MAX_PATH + 1] = {};
        DWORD size = MAX_PATH;  // one byte spare: the value need not end with a zero
        DWORD type = 0;
        if (RegQueryValueExA(key, ValueName(i).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ && value[0])
            files.emplace_back(value);
    }
    RegCloseKey(key);
    return files;
}

void AddRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    files.erase(std::remove_if(files.begin(), files.end(), [&](const std::string& f) { return SamePath(f, path); }),
                files.end());
    files.insert(files.begin(), path);
    if (files.size() > std::size_t(kRecentFileCount)) files.resize(kRecentFileCount);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kListKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (std::size_t i = 0; i < files.size(); ++i)
        RegSetValueExA(key, ValueName(int(i)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(files[i].c_str()),
                       DWORD(files[i].size() + 1));
    RegCloseKey(key);
}
