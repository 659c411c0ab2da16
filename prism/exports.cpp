// The six exports. Conversions are refused (result 0, nothing written) when
// the set index is not 0..2, a pointer is null, the size is not positive or
// does not fit the planes, or a path is longer than 259 characters.
#include <cstring>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "bmp_writer.h"
#include "file_util.h"
#include "jpeg_file.h"
#include "library.h"
#include "pipeline.h"
#include "planes.h"
#include "rows.h"
#include "setting_ui.h"

namespace {

constexpr std::size_t kMaxPath = 259;
constexpr std::size_t kEntryRecordBytes = 128;  // the camera record that follows a frame
constexpr const char* kRawDumpExtension = ".bin";

bool PathUsable(const char* path) { return path && path[0] && std::strlen(path) <= kMaxPath; }

bool ConversionUsable(int width, int height, const unsigned char* frame, const char* path, int set) {
    return set >= 0 && set < kSetCount && frame && PathUsable(path) && FrameFitsPlanes(width, height);
}

PipelineSettings SettingsOf(int set) {
    return {gPrism.stageParams[set], gPrism.letterParams[set], gPrism.softwareEnlarge};
}

// The JPEG path with its extension replaced by ".bin" (appended when the file
// name has none). Empty when the result would not fit.
std::string RawDumpPath(const char* jpegPath) {
    std::string path = jpegPath;
    const auto dot = path.find_last_of('.');
    const auto separator = path.find_last_of("\\/");
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) path.resize(dot);
    path += kRawDumpExtension;
    return path.size() <= kMaxPath ? path : std::string();
}

// Failures are ignored: the conversion goes on without the dump.
void WriteRawDump(const char* jpegPath, const unsigned char* frame, int width, int height) {
    const std::string path = RawDumpPath(jpegPath);
    if (path.empty()) return;
    OutputFile out(path.c_str());
    if (!out.Open()) return;
    out.Write(frame, std::size_t(width) * height + kEntryRecordBytes);
    out.Commit();
}

// Delegated mode: the converter's picture, blue-green-red, bottom row first;
// the converter's own result (nonzero on success).
int ConvertWithConverter(int width, int height, const unsigned char* frame, std::vector<std::uint8_t>& bgr) {
    bgr.assign(std::size_t(width) * height * 3, 0);
    return gPrism.rawToBmp(width, height, frame, bgr.data());
}

}  // namespace

extern "C" {

int PRISM_CALL BufToBmp(int width, int height, const unsigned char* frame, const char* path,
                        int flipFlags, int setIndex) {
    if (!ConversionUsable(width, height, frame, path, setIndex)) return 0;
    gPrism.currentSet = setIndex;
    if (gPrism.Mode() == kModeDelegated) {
        std::vector<std::uint8_t> bgr;
        const int converted = ConvertWithConverter(width, height, frame, bgr);
        if (!converted) return 0;
        return WriteBmpFile(path, bgr.data(), width, height) ? converted : 0;
    }
    RunPipeline(SettingsOf(setIndex), frame, width, height, flipFlags);
    // The file's first stored row is the plane's last row; the plane stays turned.
    FlipRows(gRgbPlane, std::size_t(gWorkWidth) * 3, gWorkHeight);
    return WriteBmpFile(path, gRgbPlane, gWorkWidth, gWorkHeight) ? 1 : 0;
}

int PRISM_CALL BufToJpg(int width, int height, const unsigned char* frame, const char* path,
                        int flipFlags, int setIndex) {
    if (!ConversionUsable(width, height, frame, path, setIndex)) return 0;
    gPrism.currentSet = setIndex;
    if (gPrism.stageParams[setIndex].SaveRawData != 0) WriteRawDump(path, frame, width, height);
    if (gPrism.Mode() == kModeDelegated) {
        std::vector<std::uint8_t> picture;
        if (!ConvertWithConverter(width, height, frame, picture)) return 0;
        SwapRedBlue(picture.data(), std::size_t(width) * height);
        FlipRows(picture.data(), std::size_t(width) * 3, height);
        return WriteJpegFile(path, picture.data(), width, height, gPrism.quality.quality);
    }
    RunPipeline(SettingsOf(setIndex), frame, width, height, flipFlags);
    // The plane's blue, green, red order is handed over as it is: the writer
    // gives the file of the plane with red and blue exchanged.
    return WriteJpegFile(path, gRgbPlane, gWorkWidth, gWorkHeight, gPrism.stageParams[setIndex].JPEG,
                         PixelOrder::kBgr);
}

int PRISM_CALL BmpToJpg(int, int, const char* bmpPath, const char* jpegPath, int, int setIndex) {
    if (setIndex < 0 || setIndex >= kSetCount || !PathUsable(bmpPath) || !PathUsable(jpegPath)) return 0;
    gPrism.currentSet = setIndex;
    BmpImage image;
    if (!ReadBmpFile(bmpPath, image)) return 0;
    // The file's own size is used: a caller's size that differs from it would
    // read past the picture.
    return WriteJpegFile(jpegPath, image.rgb.data(), image.width, image.height, gPrism.quality.quality);
}

int PRISM_CALL Setting(void* ownerWindow) {
    if (gPrism.Mode() == kModeDelegated) {
        RunQualityDialog();
        return 1;
    }
    if (gPrism.currentSet < 0) {
        ShowNoSetMessage(ownerWindow);
        return 0;
    }
    return RunTuningDialog(ownerWindow);
}

int PRISM_CALL GetSEOnOff() { return gPrism.softwareEnlarge; }

int PRISM_CALL SetSEOnOff(int value) {
    gPrism.softwareEnlarge = value;
    return value;
}

}
