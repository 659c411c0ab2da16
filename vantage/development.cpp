// Development into the temporary development file and back, and into
// downloaded JPEG files.
#include "development.h"

#include <windows.h>

#include <cstring>
#include <mutex>

#include "system_win32.h"
#include "vantage_state.h"

namespace {

constexpr const char* kDevelopmentFile = "\\__VEXA__";
constexpr std::uint32_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpPixelOffset = 54;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr int kEnlargeWidth = 640;
constexpr int kMaxDibWidth = 1280, kMaxDibHeight = 960;

// Prism's software-enlarge flag around one development.
class EnlargeScope {
public:
    EnlargeScope(bool enlarge, int width) : applies_(width == kEnlargeWidth) {
        if (applies_ && enlarge) gVantage.prism.SetSEOnOff(1);
    }
    ~EnlargeScope() {
        if (applies_) gVantage.prism.SetSEOnOff(0);
    }
    EnlargeScope(const EnlargeScope&) = delete;
    EnlargeScope& operator=(const EnlargeScope&) = delete;

private:
    bool applies_;
};

std::string DevelopmentFile() {
    const std::string folder = SystemTempFolder();
    return folder.empty() ? folder : folder + kDevelopmentFile;
}

std::uint32_t Word(const std::uint8_t* p) { return std::uint32_t(p[0]) | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }

// The development file's packed DIB; its size is checked against what the
// header announces before the pixels are read.
bool ReadDib(const std::string& path, std::vector<std::uint8_t>& dib) {
    std::vector<std::uint8_t> header;
    if (!ReadFileRange(path, kBmpFileHeaderBytes, kInfoHeaderBytes, header) || Word(&header[0]) != kInfoHeaderBytes)
        return false;
    const std::int32_t width = std::int32_t(Word(&header[4])), height = std::int32_t(Word(&header[8]));
    const int bits = header[14] | header[15] << 8;
    if (width <= 0 || height <= 0 || width > kMaxDibWidth || height > kMaxDibHeight || bits != 24) return false;
    // Prism writes rows of width x 3 bytes padded to 4.
    const std::uint64_t stride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t bytes = kInfoHeaderBytes + stride * std::uint64_t(height);
    if (!ReadFileRange(path, kBmpFileHeaderBytes, std::uint32_t(bytes), dib)) return false;
    if (Word(&dib[20]) == 0) {
        const std::uint32_t image = std::uint32_t(bits) * std::uint32_t(height) * std::uint32_t(width) / 8;
        std::memcpy(&dib[20], &image, 4);
    }
    return true;
}

}  // namespace

bool ReadRawFrame(const std::string& path, RawFrame& frame) {
    frame.bytes.assign(kRawBufferBytes, 0);
    const std::uint32_t read = ReadFileInto(path, frame.bytes.data(), kRawBufferBytes);
    frame.geometry = GeometryOfFile(read);
    return read > 0;
}

bool DevelopToPixels(const std::uint8_t* raw, int width, int height, int flip, int set,
                     std::vector<std::uint8_t>& pixels) {
    const std::string path = DevelopmentFile();
    if (path.empty()) return false;
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    gVantage.prism.BufToBmp(width, height, raw, path.c_str(), flip, set);
    const bool read = ReadFileRange(path, kBmpPixelOffset, std::uint32_t(width) * std::uint32_t(height) * 3, pixels);
    DeleteFileA(path.c_str());
    return read;
}

bool DevelopFrameFile(const std::string& path, FrameGeometry expected, int flip, int set,
                      std::vector<std::uint8_t>& pixels) {
    RawFrame frame;
    if (!ReadRawFrame(path, frame) || frame.geometry.width != expected.width ||
        frame.geometry.height != expected.height)
        return false;
    return DevelopToPixels(frame.bytes.data(), expected.width, expected.height, flip, set, pixels);
}

bool DevelopToDib(const RawFrame& frame, int flip, int set, bool enlarge, std::vector<std::uint8_t>& dib) {
    const std::string path = DevelopmentFile();
    if (path.empty()) return false;
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    {
        EnlargeScope scope(enlarge, frame.geometry.width);
        gVantage.prism.BufToBmp(frame.geometry.width, frame.geometry.height, frame.bytes.data(), path.c_str(), flip,
                                set);
    }
    const bool read = ReadDib(path, dib);
    DeleteFileA(path.c_str());
    return read;
}

bool DevelopToJpeg(const RawFrame& frame, int flip, int set, bool enlarge, const std::string& path) {
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    int result;
    {
        EnlargeScope scope(enlarge, frame.geometry.width);
        result = gVantage.prism.BufToJpg(frame.geometry.width, frame.geometry.height, frame.bytes.data(),
                                         path.c_str(), flip, set);
    }
    return result == 1 && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DevelopToPicture(const std::uint8_t* raw, int width, int height, int flip, int set, ShownPicture& picture) {
    const std::string path = DevelopmentFile();
    if (path.empty()) return false;
    std::lock_guard<std::mutex> guard(gVantage.developmentLock);
    const bool developed = gVantage.prism.BufToBmp(width, height, raw, path.c_str(), flip, set) != 0;
    const bool loaded = developed && LoadShownPicture(path, picture);
    DeleteFileA(path.c_str());
    return loaded;
}
