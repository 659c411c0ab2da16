// Temporary frame files: every frame a refresh reads from the camera is kept
// in a file of its own in the system's temporary folder, the frame's bytes
// followed by the 128-byte entry record of its item's first entry, named
// "__VEXACAM_%05ld__.tmp" from a process-wide counter that only increases.
// Later work reads frames back from these files, never from the camera.
// Plain logic: the system's temporary folder and the "name in use" probe
// come from the caller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr std::uint32_t kMaxFrameBytes = 640 * 480;
constexpr std::uint32_t kRecordBytesInFile = 128;
constexpr std::uint32_t kRawBufferBytes = kMaxFrameBytes + kRecordBytesInFile;  // 307,328
constexpr std::uint32_t kSmallFrameFileBytes = 320 * 240 + kRecordBytesInFile;  // 76,928

struct FrameGeometry {
    int width;
    int height;
};

// 320 x 240 for a file of exactly 76,928 bytes, else 640 x 480.
FrameGeometry GeometryOfFile(std::uint32_t fileBytes);

// folder + "\__VEXACAM_%05ld__.tmp" (the folder as the system gives it,
// without a trailing separator).
std::string FrameFileName(const std::string& folder, long counter);

class CFrameFiles {
public:
    // True when a file of that name exists or is held open by someone else.
    using NameInUse = std::function<bool(const std::string& path)>;

    explicit CFrameFiles(NameInUse inUse) : inUse_(std::move(inUse)) {}

    // The next free name in `folder`, from the counter on; names in use are
    // skipped. The counter moves past the name taken.
    std::string NextName(const std::string& folder);
    long Counter() const { return counter_; }

private:
    NameInUse inUse_;
    long counter_ = 0;
};

// Writes frame (bytes, at most kMaxFrameBytes) and the record to a new file
// (created or replaced); false when the frame is too large, the file cannot
// be created or the write fails (no file is left then).
bool WriteFrameFile(const std::string& path, const std::uint8_t* frame, std::uint32_t bytes,
                    const std::uint8_t* record);
// Reads at most `capacity` bytes of a file into `buffer`; the count read, 0
// when the file cannot be opened or is empty.
std::uint32_t ReadFileInto(const std::string& path, std::uint8_t* buffer, std::uint32_t capacity);
// Reads exactly `count` bytes from `offset`; false when the file is shorter.
bool ReadFileRange(const std::string& path, std::uint32_t offset, std::uint32_t count, std::vector<std::uint8_t>& out);
// Deletes every file of the list and clears it.
void DeleteFrameFiles(std::vector<std::string>& files);
