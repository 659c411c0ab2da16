// The load step of a refresh: read the camera's directory and records, group
// the entries into items, keep every frame of every item in a temporary
// frame file, develop the first frame of each item into a thumbnail and hand
// it on. Plain logic over two interfaces: what it asks of the camera, and
// where its results go (development through Prism, the thumbnail view).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame_files.h"
#include "picture_table.h"

constexpr int kFrameInfoRecordBytes = 40;  // 32-bit words 1 and 2: width and height

// The camera operations a load calls, already opened by the caller.
class CCameraReader {
public:
    virtual ~CCameraReader() = default;
    virtual bool GetFrameInfo(std::uint8_t* record) = 0;
    virtual void SetFrameSize(int width, int height) = 0;
    // The buffers stay the camera's: they are copied at once.
    virtual bool ReadDirectory(std::uint16_t& entryCount, const std::uint8_t*& header) = 0;
    virtual bool ReadEntries(const std::uint8_t*& records) = 0;
    virtual bool ReadFrame(int entry, const std::uint8_t*& frame, std::uint32_t& bytes) = 0;
};

class CLoadTarget {
public:
    virtual ~CLoadTarget() = default;
    // The system's temporary folder, empty when it cannot be had.
    virtual std::string TempFolder() = 0;
    // A raw frame developed into width x height x 3 bytes of bottom-up BGR pixels.
    virtual bool Develop(const std::uint8_t* raw, int width, int height, int flip, int set,
                         std::vector<std::uint8_t>& pixels) = 0;
    // Item `item` has its thumbnail (kThumbnailBytes).
    virtual void ThumbnailMade(int item, std::vector<std::uint8_t>&& thumbnail) = 0;
    // The load is to stop (the library unloads).
    virtual bool Cancelled() = 0;
};

enum LoadResult { kLoadIncomplete = -1, kLoadEmpty = 0, kLoadComplete = 1 };

// Fills `table` (cleared first). kLoadEmpty when the directory or records
// cannot be read or hold no entry; kLoadIncomplete when an item failed and
// the camera no longer answers; else kLoadComplete.
LoadResult LoadPictures(CPictureTable& table, CFrameFiles& names, CCameraReader& camera, CLoadTarget& target);

// Deletes the frame files of every item and clears the table.
void EmptyPictureTable(CPictureTable& table);
