// The clip writer over the AVI file functions of Video for Windows.
#include "avi_writer.h"

#include <windows.h>
#include <vfw.h>

#include <cstring>

namespace {

constexpr DWORD kScale = 30;
constexpr DWORD kRate = 1200;  // 40 samples per second
constexpr LONG kSamplesPerFrame = 8;
const FOURCC kUncompressedHandler = mmioFOURCC('D', 'I', 'B', ' ');
// The file layer picks its handler by extension, so the temporary name keeps ".avi".
constexpr const char* kPartSuffix = "~part.avi";

// The file layer for the length of one clip.
class FileLayer {
public:
    FileLayer() { AVIFileInit(); }
    ~FileLayer() { AVIFileExit(); }
    FileLayer(const FileLayer&) = delete;
    FileLayer& operator=(const FileLayer&) = delete;
};

// Released in reverse order of creation by the destructors.
struct FileHandle {
    PAVIFILE file = nullptr;
    ~FileHandle() {
        if (file) AVIFileRelease(file);
    }
};
struct StreamHandle {
    PAVISTREAM stream = nullptr;
    ~StreamHandle() {
        if (stream) AVIStreamRelease(stream);
    }
};

bool WriteFrames(const std::string& path, int width, int height, int frameCount, const ClipFrameSource& frames,
                 const ClipFrameWritten& written) {
    const LONG frameBytes = LONG(width) * LONG(height) * 3;
    FileLayer layer;
    FileHandle file;
    if (AVIFileOpenA(&file.file, path.c_str(), OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) return false;

    AVISTREAMINFOA info;
    std::memset(&info, 0, sizeof info);
    info.fccType = streamtypeVIDEO;
    info.dwScale = kScale;
    info.dwRate = kRate;
    info.dwSuggestedBufferSize = DWORD(frameBytes);
    info.dwQuality = DWORD(-1);
    SetRect(&info.rcFrame, 0, 0, width, height);
    StreamHandle stream;
    if (AVIFileCreateStreamA(file.file, &stream.stream, &info) != AVIERR_OK) return false;

    AVICOMPRESSOPTIONS options;
    std::memset(&options, 0, sizeof options);
    options.fccHandler = kUncompressedHandler;
    options.dwFlags = AVICOMPRESSF_VALID;
    StreamHandle compressed;
    if (AVIMakeCompressedStream(&compressed.stream, stream.stream, &options, nullptr) != AVIERR_OK) return false;

    BITMAPINFOHEADER format;
    std::memset(&format, 0, sizeof format);
    format.biSize = sizeof format;
    format.biWidth = width;
    format.biHeight = height;
    format.biPlanes = 1;
    format.biBitCount = 24;
    format.biCompression = BI_RGB;
    format.biSizeImage = DWORD(frameBytes);
    if (AVIStreamSetFormat(compressed.stream, 0, &format, sizeof format) != AVIERR_OK) return false;

    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < frameCount; ++i) {
        pixels.clear();
        if (!frames(i, pixels) || pixels.size() != std::size_t(frameBytes)) return false;
        if (AVIStreamWrite(compressed.stream, kSamplesPerFrame * i, 1, pixels.data(), frameBytes, AVIIF_KEYFRAME,
                           nullptr, nullptr) != AVIERR_OK)
            return false;
        if (written) written(i + 1, frameCount);
    }
    return true;
}

}  // namespace

bool WriteAviClip(const std::string& path, int width, int height, int frameCount, const ClipFrameSource& frames,
                  const ClipFrameWritten& written) {
    if (width <= 0 || height <= 0 || width > kMaxClipWidth || height > kMaxClipHeight || frameCount <= 0 || !frames)
        return false;
    const std::string part = path + kPartSuffix;
    DeleteFileA(part.c_str());
    // The file is closed (every handle released) before it is moved.
    const bool complete = WriteFrames(part, width, height, frameCount, frames, written);
    if (complete && MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(part.c_str());
    return false;
}
