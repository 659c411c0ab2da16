// Names in TWain.ini that Vantage owns: the settings file beside Vantage,
// its section "Setting" and the keys in it, and the picture folder's name.
#pragma once

constexpr const char* kSettingsFileName = "TWain.ini";
constexpr const char* kSettingSection = "Setting";
constexpr const char* kKeyPath = "Path";
constexpr const char* kKeyNext = "Next";
constexpr const char* kKeyEnlargeOnOff = "EnlargeOnOff";
constexpr const char* kKeyEnlarge = "Enlarge";
constexpr const char* kKeyShowThumbnailNumber = "ShowThumbnailNumber";
constexpr const char* kKeyHideByOtherAP = "HideByOtherAP";
// Under the user's documents folder.
constexpr const char* kPictureFolderName = "My DSC";
