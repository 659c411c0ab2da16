// Development into the temporary development file and back.
#include "development.h"

#include <windows.h>

#include <mutex>

#include "camera/frame_files.h"
#include "system_win32.h"
#include "vantage_state.h"

namespace {

constexpr const char* kDevelopmentFile = "\\__VEXA__";
constexpr std::uint32_t kBmpPixelOffset = 54;

}  // namespace

bool DevelopToPixels(const std::uint8_t* raw, int width, int height, int flip, int set,
                     std::vector<std::uint8_t>& pixels) {
    const std::string folder = SystemTempFolder();
    if (folder.empty()) return false;
    const std::string path = folder + kDevelopmentFile;
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    gVantage.prism.BufToBmp(width, height, raw, path.c_str(), flip, set);
    const bool read = ReadFileRange(path, kBmpPixelOffset, std::uint32_t(width) * std::uint32_t(height) * 3, pixels);
    DeleteFileA(path.c_str());
    return read;
}

bool DevelopToPicture(const std::uint8_t* raw, int width, int height, int flip, int set, ShownPicture& picture) {
    const std::string folder = SystemTempFolder();
    if (folder.empty()) return false;
    const std::string path = folder + kDevelopmentFile;
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    const bool developed = gVantage.prism.BufToBmp(width, height, raw, path.c_str(), flip, set) != 0;
    const bool loaded = developed && LoadShownPicture(path, picture);
    DeleteFileA(path.c_str());
    return loaded;
}
