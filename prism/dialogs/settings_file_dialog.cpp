// Open and save dialogs for settings files, and the temporary settings file.
#include "settings_file_dialog.h"

#include <commdlg.h>

#include "ini_file.h"

namespace {
// Pairs of description and pattern, each ended by a NUL, the list by another.
constexpr char kFilter[] = "Ini Files (*.ini)\0*.ini\0All Files (*.*)\0*.*\0";
constexpr const char* kTemporaryName = "__temp__.ini";
}  // namespace

std::string ChooseSettingsFile(HWND owner, SettingsFileUse use) {
    char file[kIniPathCapacity] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = "ini";
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    bool chosen;
    if (use == SettingsFileUse::Import) {
        ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
        chosen = GetOpenFileNameA(&ofn) != FALSE;
    } else {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        chosen = GetSaveFileNameA(&ofn) != FALSE;
    }
    return chosen ? std::string(file) : std::string();
}

std::string TemporarySettingsPath() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    std::string path(folder, length <= MAX_PATH ? length : 0);
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + kTemporaryName;
}

bool SettingsFileWritable(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
