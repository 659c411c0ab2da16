// Profile-file primitives with the "99999999" missing-key sentinel, and the
// quality holder of TWain.ini.
#include "ini_file.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {

// Fetches the value; false when the key is missing (the sentinel came back).
bool Fetch(const char* section, const char* key, char (&text)[kIniPathCapacity],
           const platform::ProfileFile& file) {
    file.GetText(section, key, kMissingSentinel, text, sizeof text);
    return std::strcmp(text, kMissingSentinel) != 0;
}

}  // namespace

int ReadIniString(const char* section, const char* key, char* target, const platform::ProfileFile& file) {
    char text[kIniPathCapacity];
    if (!Fetch(section, key, text, file)) return 0;
    std::memcpy(target, text, std::strlen(text) + 1);
    return 1;
}

int ReadIniInt(const char* section, const char* key, int* target, const platform::ProfileFile& file) {
    char text[kIniPathCapacity];
    if (!Fetch(section, key, text, file)) return 0;
    std::sscanf(text, "%d", target);
    return 1;
}

int ReadIniDouble(const char* section, const char* key, double* target, const platform::ProfileFile& file) {
    char text[kIniPathCapacity];
    if (!Fetch(section, key, text, file)) return 0;
    std::sscanf(text, "%lf", target);
    return 1;
}

void WriteIniString(const char* section, const char* key, const char* value, platform::ProfileFile& file) {
    file.WriteText(section, key, value);
}

void WriteIniInt(const char* section, const char* key, int value, platform::ProfileFile& file) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    file.WriteText(section, key, text);
}

void WriteIniDouble(const char* section, const char* key, double value, platform::ProfileFile& file) {
    char text[352];  // "%5.3lf" of the largest double still fits
    std::snprintf(text, sizeof text, "%5.3lf", value);
    file.WriteText(section, key, text);
}

bool CIniFile::Bind(const char* folder, const char* name) {
    const int n = std::snprintf(path_, sizeof path_, "%s%c%s", folder, platform::kPathSeparator, name);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof path_) {
        path_[0] = '\0';
        return false;
    }
    return true;
}

bool CQualityIni::Bind(const char* folder, const char* name) {
    if (!CIniFile::Bind(folder, name)) return false;
    Load(path_);
    return true;
}

void CQualityIni::Load(const char* path) {
    quality = platform::GetProfileInteger("IP", "JPEG", kDefaultQuality, path);
}

void CQualityIni::Save(const char* path) const {
    platform::ProfileFile file(path);
    WriteIniInt("IP", "JPEG", quality, file);
    file.Commit();
}
