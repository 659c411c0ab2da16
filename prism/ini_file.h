// Settings-file primitives shared by every settings record.
//
// Values live in Windows profile files (sections in brackets, key=value
// lines). A fetched value equal to kMissingSentinel counts as a missing key,
// so a record keeps its default. Integers are written with "%d", doubles with
// "%5.3lf" (three decimals: 0.7 is stored as 0.700).
#pragma once

#include <cstddef>

constexpr std::size_t kIniPathCapacity = 260;  // 259 characters and the terminator
constexpr const char* kMissingSentinel = "99999999";

namespace platform {
class ProfileFile;
}

// Reads return 1 and fill target when the key is present, 0 (target
// untouched) when it is missing. Writes reach the file at its Commit.
int ReadIniString(const char* section, const char* key, char* target, const platform::ProfileFile& file);
int ReadIniInt(const char* section, const char* key, int* target, const platform::ProfileFile& file);
int ReadIniDouble(const char* section, const char* key, double* target, const platform::ProfileFile& file);
void WriteIniString(const char* section, const char* key, const char* value, platform::ProfileFile& file);
void WriteIniInt(const char* section, const char* key, int value, platform::ProfileFile& file);
void WriteIniDouble(const char* section, const char* key, double value, platform::ProfileFile& file);

// Base of every settings holder: the full path of its file.
class CIniFile {
public:
    virtual ~CIniFile() = default;

    // path := folder + separator + name; false (path left empty) when the
    // result would not fit in 259 characters.
    bool Bind(const char* folder, const char* name);
    const char* Path() const { return path_; }

protected:
    char path_[kIniPathCapacity] = {};
};

// TWain.ini [IP] JPEG: the quality of delegated conversions and BmpToJpg.
class CQualityIni : public CIniFile {
public:
    static constexpr int kDefaultQuality = 65;

    bool Bind(const char* folder, const char* name);  // also loads
    void Load(const char* path);
    void Save(const char* path) const;

    int quality = kDefaultQuality;
};
