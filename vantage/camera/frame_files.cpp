// Temporary frame files: names, writing, reading back, deleting.
#include "frame_files.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

constexpr const char* kFrameFileFormat = "%c__VEXACAM_%05ld__.tmp";  // separator, counter

}  // namespace

FrameGeometry GeometryOfFile(std::uint32_t fileBytes) {
    if (fileBytes == kSmallFrameFileBytes) return {320, 240};
    return {640, 480};
}

std::string FrameFileName(const std::string& folder, long counter) {
    char name[40];
    std::snprintf(name, sizeof name, kFrameFileFormat, platform::kPathSeparator, counter);
    return folder + name;
}

std::string CFrameFiles::NextName(const std::string& folder) {
    std::string name = FrameFileName(folder, counter_);
    while (inUse_(name)) name = FrameFileName(folder, ++counter_);
    ++counter_;
    return name;
}

bool WriteFrameFile(const std::string& path, const std::uint8_t* frame, std::uint32_t bytes,
                    const std::uint8_t* record) {
    if (bytes == 0 || bytes > kMaxFrameBytes) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(frame, 1, bytes, file) == bytes;
    written = written && std::fwrite(record, 1, kRecordBytesInFile, file) == kRecordBytesInFile;
    written = std::fclose(file) == 0 && written;
    if (!written) std::remove(path.c_str());
    return written;
}

std::uint32_t ReadFileInto(const std::string& path, std::uint8_t* buffer, std::uint32_t capacity) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return 0;
    const std::size_t read = std::fread(buffer, 1, capacity, file);
    std::fclose(file);
    return std::uint32_t(read);
}

bool ReadFileRange(const std::string& path, std::uint32_t offset, std::uint32_t count, std::vector<std::uint8_t>& out) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    out.assign(count, 0);
    const bool ok = std::fseek(file, long(offset), SEEK_SET) == 0 && std::fread(out.data(), 1, count, file) == count;
    std::fclose(file);
    return ok;
}

void DeleteFrameFiles(std::vector<std::string>& files) {
    for (const std::string& f : files) std::remove(f.c_str());
    files.clear();
}
