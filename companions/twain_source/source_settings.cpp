// Reads SimSource.ini with the system's profile functions.
#include "source_settings.h"

#include <windows.h>

namespace sim_source {

namespace {

int ReadInt(const std::string& iniPath, const char* key, int fallback) {
    return int(GetPrivateProfileIntA(kSettingsSection, key, fallback, iniPath.c_str()));
}

int InRange(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

}  // namespace

SourceSettings ReadSourceSettings(const std::string& iniPath) {
    SourceSettings s;
    s.pictures = InRange(ReadInt(iniPath, "Pictures", 0), 0, 4096, 0);
    s.pictureWidth = InRange(ReadInt(iniPath, "PictureWidth", s.pictureWidth), 1, kMaxPictureSide, s.pictureWidth);
    s.pictureHeight = InRange(ReadInt(iniPath, "PictureHeight", s.pictureHeight), 1, kMaxPictureSide, s.pictureHeight);
    const int bits = ReadInt(iniPath, "PictureBits", 24);
    s.pictureBits = bits == 32 ? 32 : 24;
    s.xferCountLimit = InRange(ReadInt(iniPath, "XferCountLimit", 0), 0, 32767, 0);
    s.imageInfoFails = ReadInt(iniPath, "ImageInfoFails", 0) != 0;
    s.closeAfterTransfer = ReadInt(iniPath, "CloseAfterTransfer", 0) != 0;
    char scenes[4096] = {};
    GetPrivateProfileStringA(kSettingsSection, "Scenes", "", scenes, sizeof scenes, iniPath.c_str());
    s.scenes = scenes;
    return s;
}

}  // namespace sim_source
