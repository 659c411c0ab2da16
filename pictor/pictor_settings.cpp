// Pictor's profile-file values.
#include "pictor_settings.h"

#include "platform/platform.h"

namespace {

constexpr const char* kIpSection = "IP";
constexpr const char* kJpegKey = "JPEG";
constexpr const char* kTwainSection = "TWAIN";
constexpr const char* kProductNameKey = "ProductName";
constexpr std::size_t kProductNameCapacity = 260;  // 259 characters and the end

}  // namespace

int ReadJpegQuality(const std::string& iniPath) {
    return platform::GetProfileInteger(kIpSection, kJpegKey, kDefaultPictorJpegQuality, iniPath.c_str());
}

std::string ReadSourceProductName(const std::string& camSetPath) {
    char name[kProductNameCapacity];
    platform::GetProfileText(kTwainSection, kProductNameKey, kDefaultSourceName, name, sizeof name, camSetPath.c_str());
    return name;
}
