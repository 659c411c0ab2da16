// Grouping of directory entries into stills and clips, and the limits of
// the directory copy.
#include "camera/picture_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint8_t S = 0x00;         // a still
constexpr std::uint8_t C0 = 0x08;        // a clip frame of parity 0
constexpr std::uint8_t C1 = 0x08 | 0x10; // a clip frame of parity 1

struct Shape {
    int clip, first, count;
};

std::vector<Shape> Shapes(const std::vector<PictureItem>& items) {
    std::vector<Shape> shapes;
    for (const PictureItem& i : items) shapes.push_back({i.clip, i.first, i.count});
    return shapes;
}

bool operator==(const Shape& a, const Shape& b) { return a.clip == b.clip && a.first == b.first && a.count == b.count; }

}  // namespace

TEST(GroupEntries, StillsAndClips) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> flags;
        std::vector<Shape> items;
    };
    const Case cases[] = {
        {"still, clip A (parity 1, 3), still, clip B (parity 1)", {S, C1, C1, C1, S, C1},
         {{0, 0, 1}, {1, 1, 3}, {0, 4, 1}, {1, 5, 1}}},
        {"two clips in a row with the same parity merge", {S, C1, C1, C1, C1}, {{0, 0, 1}, {1, 1, 4}}},
        {"alternating parity separates clips", {C1, C1, C0, C0, C1}, {{1, 0, 2}, {1, 2, 2}, {1, 4, 1}}},
        {"a first entry that is a clip of parity 0 starts a clip", {C0, C0, S}, {{1, 0, 2}, {0, 2, 1}}},
        {"a clip of parity 0 after a still does not join the still", {S, C0, C0}, {{0, 0, 1}, {1, 1, 2}}},
        {"flags beyond bits 3 and 4 are ignored", {0xE7, 0x08 | 0x10 | 0x40}, {{0, 0, 1}, {1, 1, 1}}},
        {"no entries", {}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<Shape> got = Shapes(GroupEntries(c.flags));
        ASSERT_EQ(got.size(), c.items.size()) << c.what;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(got[i] == c.items[i]) << c.what << ", item " << i;
    }
}

TEST(PictureTable, DirectoryCopyLimitsAndFormatCode) {
    static std::uint8_t header[kDirectoryHeaderBytes] = {};
    static std::uint8_t records[(kMaxEntries + 1) * kEntryRecordBytes];
    for (int i = 0; i < kMaxEntries + 1; ++i) {
        header[kEntryFlagsOffset + 4 * i] = 0;
        records[i * kEntryRecordBytes] = std::uint8_t(i);
    }
    struct Case {
        std::uint8_t formatByte;
        int code, flip;
    };
    for (const Case c : {Case{0xA0, 0, 0}, Case{0xA1, 1, 1}, Case{0xF2, 2, 1}, Case{0x03, 3, 0}, Case{0xAF, 15, 0}}) {
        header[kFormatByte] = c.formatByte;
        CPictureTable table;
        table.SetDirectory(header, 700);  // more than the record area holds
        EXPECT_EQ(table.FormatCode(), c.code);
        EXPECT_EQ(table.FlipFlag(), c.flip) << "format code " << c.code;
        ASSERT_EQ(table.EntryCount(), kMaxEntries);
        table.SetRecords(records);
        table.Group();
        EXPECT_EQ(table.Items().size(), std::size_t(kMaxEntries));
        EXPECT_EQ(table.Record(kMaxEntries - 1)[0], std::uint8_t(kMaxEntries - 1));
    }
}
