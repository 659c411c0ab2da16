// The camera's directory as a refresh copies it, and the picture table built
// from it: one row per picture item, a still or a clip of several frames.
// Plain logic without system headers; sizes in bytes.
//
// Directory header (8192 bytes): byte 9, low four bits, the format code; from
// byte 2048 one 32-bit word per entry whose lowest byte holds the entry flags
// (0x08 a clip frame, 0x10 the clip's parity bit). Entry records: 128 bytes
// each, copied into an area of 65,536 bytes (512 records).
//
// Limits: a directory that announces more entries than the record area holds
// is read for the first 512 only; at most 4096 items are made (512 entries
// can never make more, the limit holds the table to its array all the same).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kDirectoryHeaderBytes = 8192;
constexpr int kEntryRecordBytes = 128;
constexpr int kRecordAreaBytes = 65536;
constexpr int kMaxEntries = kRecordAreaBytes / kEntryRecordBytes;  // 512
constexpr int kMaxItems = 4096;
constexpr int kEntryFlagsOffset = 2048;
constexpr int kFormatByte = 9;
constexpr std::uint8_t kClipFrameFlag = 0x08;
constexpr std::uint8_t kClipParityFlag = 0x10;

struct PictureItem {
    int clip = 0;   // 1 for a clip, 0 for a still
    int first = 0;  // index of its first entry
    int count = 0;  // entries in the item; after storing, the frames stored
    std::vector<std::string> files;  // temporary frame files, in frame order
};

// Items from the entries' flags bytes, in order. A still is an item of its
// own; a clip frame whose parity equals the one before joins the last item,
// any other clip frame starts a clip. A first entry that is a clip frame of
// parity 0 has no item to join: it starts a clip.
std::vector<PictureItem> GroupEntries(const std::vector<std::uint8_t>& flags);

class CPictureTable {
public:
    // Copies the header and keeps the entry count, at most kMaxEntries.
    void SetDirectory(const std::uint8_t* header, int entryCount);
    // Copies EntryCount() records.
    void SetRecords(const std::uint8_t* records);
    // Groups the entries of the copied directory into items.
    void Group();
    void Clear();

    int EntryCount() const { return entryCount_; }
    // 0..15: passed to Prism as the setting-set index.
    int FormatCode() const { return header_[kFormatByte] & 0x0F; }
    // 1 when the format code is 1 or 2: passed to Prism as its flip flags.
    int FlipFlag() const { return FormatCode() == 1 || FormatCode() == 2 ? 1 : 0; }
    const std::uint8_t* Record(int entry) const { return records_ + entry * kEntryRecordBytes; }
    std::vector<PictureItem>& Items() { return items_; }
    const std::vector<PictureItem>& Items() const { return items_; }

private:
    std::uint8_t header_[kDirectoryHeaderBytes] = {};
    std::uint8_t records_[kRecordAreaBytes] = {};
    int entryCount_ = 0;
    std::vector<PictureItem> items_;
};
