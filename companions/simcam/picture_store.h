// Picture store of the simulated camera: its entries in camera order (stills
// and the frames of clips, made from generated scenes or read from raw frame
// files) and the blocks the camera hands out for them: the 8192-byte
// directory header, the 128-byte entry records and the raw frames (width x
// height bytes, one colour-filter sample per pixel, camera row order).
// Plain logic without system headers; sizes in bytes, geometry in pixels,
// every multi-byte field little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

namespace simcam {

constexpr int kDirectoryBytes = 8192;
constexpr int kRecordBytes = 128;
constexpr int kFlagsOffset = 2048;  // one 32-bit word per entry from here
constexpr int kMaxEntries = (kDirectoryBytes - kFlagsOffset) / 4;
constexpr int kMaxFrameBytes = 640 * 480;

constexpr std::uint8_t kClipFrameFlag = 0x08;
constexpr std::uint8_t kClipParityFlag = 0x10;
// High half of directory byte 9: a reader must keep only the low four bits.
constexpr std::uint8_t kFormatByteHighBits = 0xA0;

// Clip frame k is the clip's scene moved left by k times this many columns
// (an even number keeps the colour-filter pattern in place).
constexpr int kClipStepColumns = 8;

// Entry record: 32-bit words at these byte offsets, then the source name.
constexpr int kRecordIndex = 0;       // entry index
constexpr int kRecordWidth = 4;
constexpr int kRecordHeight = 8;
constexpr int kRecordFlags = 12;      // the entry's directory word
constexpr int kRecordPicture = 16;    // picture number: stills and clips counted in store order
constexpr int kRecordFrame = 20;      // frame number within its clip, 0 for a still
constexpr int kRecordTime = 24;       // capture time, seconds since 1970-01-01 UTC
constexpr int kRecordSource = 32;     // scene or file name, NUL-terminated
constexpr int kRecordSourceBytes = 64;
constexpr std::uint32_t kClockStart = 946684800;  // 2000-01-01 00:00:00 UTC
constexpr std::uint32_t kSecondsPerPicture = 60;

struct StoreEntry {
    int width = 0;
    int height = 0;
    int clip = -1;          // -1: a still; else the clip's number in the store
    int frameInClip = 0;
    int forcedParity = -1;  // -1: alternate; 0 or 1: the clip's parity bit as given
    bool generated = true;  // a scene; else the bytes in raw
    Scene scene = Scene::ColourBars;
    std::vector<std::uint8_t> raw;
    std::string source;
};

class PictureStore {
public:
    // Replaces the entries with generated scenes (see SimCamLoadScenes).
    // Returns the entry count, or -1 (entries unchanged) for a malformed
    // sceneList or more than kMaxEntries entries.
    int LoadScenes(const std::string& sceneList);
    // Replaces the entries with the raw frame files of a folder, in name
    // order: files of 76,800 or 76,928 bytes are 320 x 240, of 307,200 or
    // 307,328 bytes 640 x 480 (a trailing 128-byte record is dropped); other
    // files are skipped. Returns the entry count, or -1 (entries unchanged)
    // when the folder cannot be listed.
    int LoadFolder(const std::string& folder);
    // Appends a still of a scene, 640 x 480 or 320 x 240; false when full.
    bool AppendStill(Scene scene, int width);
    void Clear() { entries_.clear(); }

    int EntryCount() const { return int(entries_.size()); }

    // The directory word's flags byte of every entry, in order: clip frames
    // carry kClipFrameFlag, and each new clip takes the parity bit that
    // differs from the previous one (0 after a still), unless forced.
    std::vector<std::uint8_t> EntryFlags() const;
    // kDirectoryBytes: entry count in bytes 0-1, kFormatByteHighBits | the
    // format code's low four bits in byte 9, the flags words from
    // kFlagsOffset, zeros elsewhere.
    void BuildDirectory(int formatCode, std::uint8_t* header) const;
    // EntryCount() records of kRecordBytes.
    void BuildRecords(std::uint8_t* records) const;
    // Writes entry index's frame (at most capacity bytes); returns its byte
    // count, 0 for an index outside the store or a frame that does not fit.
    std::uint32_t ReadFrame(int index, std::uint8_t* frame, std::uint32_t capacity);

private:
    const std::vector<std::uint8_t>& SceneFrame(Scene scene, int width, int height);

    std::vector<StoreEntry> entries_;
    // The last scene rendered: the frames of a clip share it.
    Scene cachedScene_ = Scene::ColourBars;
    int cachedWidth_ = 0;
    int cachedHeight_ = 0;
    std::vector<std::uint8_t> cachedFrame_;
};

}  // namespace simcam
