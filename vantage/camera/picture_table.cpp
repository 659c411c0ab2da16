// Picture table: directory and record copies, grouping into items.
#include "picture_table.h"

#include <cstring>

std::vector<PictureItem> GroupEntries(const std::vector<std::uint8_t>& flags) {
    std::vector<PictureItem> items;
    std::uint8_t previousParity = 0;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        const std::uint8_t f = flags[i];
        const std::uint8_t parity = f & kClipParityFlag;
        const bool clipFrame = (f & kClipFrameFlag) != 0;
        if (clipFrame && parity == previousParity && !items.empty() && items.back().clip) {
            ++items.back().count;
            continue;
        }
        if (items.size() >= std::size_t(kMaxItems)) break;
        PictureItem item;
        item.clip = clipFrame ? 1 : 0;
        item.first = int(i);
        item.count = 1;
        items.push_back(item);
        previousParity = clipFrame ? parity : 0;
    }
    return items;
}

void CPictureTable::SetDirectory(const std::uint8_t* header, int entryCount) {
    std::memcpy(header_, header, sizeof header_);
    entryCount_ = entryCount < 0 ? 0 : entryCount > kMaxEntries ? kMaxEntries : entryCount;
}

void CPictureTable::SetRecords(const std::uint8_t* records) {
    std::memcpy(records_, records, std::size_t(entryCount_) * kEntryRecordBytes);
}

void CPictureTable::Group() {
    std::vector<std::uint8_t> flags(static_cast<std::size_t>(entryCount_));
    for (int i = 0; i < entryCount_; ++i) flags[std::size_t(i)] = header_[kEntryFlagsOffset + 4 * i];
    items_ = GroupEntries(flags);
}

void CPictureTable::Clear() {
    entryCount_ = 0;
    items_.clear();
}
