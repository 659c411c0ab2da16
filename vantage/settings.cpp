// Section "Setting" of TWain.ini: defaults, the picture folder rule, writes.
#include "settings.h"

#include <climits>
#include <cstdlib>

#include "platform/platform.h"
#include "settings_keys.h"

namespace {

constexpr std::size_t kValueCapacity = 260;

int ReadInt(const char* key, int fallback, const std::string& iniPath) {
    return platform::GetProfileInteger(kSettingSection, key, fallback, iniPath.c_str());
}

}  // namespace

CWindowSettings ReadWindowSettings(const std::string& iniPath) {
    CWindowSettings s;
    s.showThumbnailNumber = ReadInt(kKeyShowThumbnailNumber, 1, iniPath);
    s.hideByOtherAP = ReadInt(kKeyHideByOtherAP, 0, iniPath);
    s.enlarge = ReadInt(kKeyEnlarge, 0, iniPath);
    return s;
}

std::string DefaultPictureFolder(CFolderSystem& folders) {
    return folders.DocumentsFolder() + "\\" + kPictureFolderName;
}

std::string ReadPictureFolder(const std::string& iniPath, CFolderSystem& folders) {
    const std::string fallback = DefaultPictureFolder(folders);
    char value[kValueCapacity];
    platform::GetProfileText(kSettingSection, kKeyPath, fallback.c_str(), value, sizeof value, iniPath.c_str());
    if (folders.MakeFolder(value)) return value;
    platform::WriteProfileText(kSettingSection, kKeyPath, fallback.c_str(), iniPath.c_str());
    return fallback;
}

void CPictureSettings::Read(const std::string& iniPath, int enlarge, CFolderSystem& folders) {
    path = ReadPictureFolder(iniPath, folders);
    next = ReadInt(kKeyNext, 1, iniPath);
    enlargeOnOff = enlarge != 0 ? ReadInt(kKeyEnlargeOnOff, 0, iniPath) : 0;
}

void CPictureSettings::Write(const std::string& iniPath, int enlarge) const {
    platform::WriteProfileText(kSettingSection, kKeyPath, path.c_str(), iniPath.c_str());
    platform::WriteProfileText(kSettingSection, kKeyNext, std::to_string(next).c_str(), iniPath.c_str());
    if (enlarge != 0)
        platform::WriteProfileText(kSettingSection, kKeyEnlargeOnOff, enlargeOnOff ? "1" : "0", iniPath.c_str());
}

int ParseNumber(const std::string& text) {
    const long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return int(n);
}
