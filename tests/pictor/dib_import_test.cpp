// DIB import: what is copied whole, what is converted to 24 bits, and every
// header lie refused against the block's own size.
#include "dib_import.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dib_bytes.h"

namespace {

std::vector<std::uint8_t> StoredRow(const CPackedDib& dib, int row) {
    const std::uint8_t* p = dib.Bits() + std::size_t(row) * dib.RowBytes();
    return std::vector<std::uint8_t>(p, p + dib.Width() * 3);
}

}  // namespace

TEST(DibImport, IndexedAndRgbAreCopiedWholeWithTheirResolution) {
    // 8 bits, 3 x 2, a table of 2 colours (the stored table is full, its count 0).
    DibFields f;
    f.width = 3, f.bits = 8, f.colorsUsed = 2, f.ppm = 3780;
    const std::vector<std::uint8_t> rest = {1, 2, 3, 0, 4, 5, 6, 0,  // table
                                            0, 1, 0, 0x55,           // bottom row, padding
                                            1, 1, 0, 0x66};          // top row
    const std::vector<std::uint8_t> block = DibBlock(f, rest);
    DibImport in = ImportDib(block.data(), block.size());
    ASSERT_EQ(in.result, DibImportResult::kOk);
    const CPackedDib& dib = *in.dib;
    EXPECT_EQ(dib.BitsPerPixel(), 8u);
    EXPECT_EQ(ReadLe32(dib.Data() + 32), 0u);
    EXPECT_EQ(ReadLe32(dib.Data() + 24), 3780u);
    EXPECT_EQ(dib.Data()[40 + 4], 4);
    EXPECT_EQ(dib.Data()[40 + 8], 0);  // entries past the given two are clear
    EXPECT_EQ(dib.Bits()[3], 0x55);
    EXPECT_EQ(dib.Bits()[4], 1);
    EXPECT_EQ(dib.Size(), 40u + 1024 + 8);
    const std::vector<std::uint8_t> rgb = DibToRgbRows(dib);
    EXPECT_EQ(rgb, (std::vector<std::uint8_t>{6, 5, 4, 6, 5, 4, 3, 2, 1, 3, 2, 1, 6, 5, 4, 3, 2, 1}));

    // 24 bits stored top row first comes out bottom row first.
    DibFields t;
    t.width = 1, t.height = -2, t.headerBytes = 124;  // a larger header: pixels follow it
    const std::vector<std::uint8_t> top = DibBlock(t, {1, 2, 3, 0, 4, 5, 6, 0});
    in = ImportDib(top.data(), top.size());
    ASSERT_EQ(in.result, DibImportResult::kOk);
    EXPECT_EQ(in.dib->Height(), 2);
    EXPECT_EQ(ReadLe32(in.dib->Data()), 40u);
    EXPECT_EQ(StoredRow(*in.dib, 0), (std::vector<std::uint8_t>{4, 5, 6}));
    EXPECT_EQ(StoredRow(*in.dib, 1), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(DibImport, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
    struct Case {
        const char* name;
        std::uint16_t bits;
        std::uint32_t compression;
        std::vector<std::uint8_t> rest;  // masks and one pixel (row padded)
        std::vector<std::uint8_t> bgr;
    } cases[] = {
        // 5-6-5 masks: red 0x1F, green 0x3F, blue 0x01.
        {"565", 16, 3, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, 0xE1, 0xFF, 0, 0}, {0x08, 0xFC, 0xF8}},
        // No masks: 5-5-5. Red 0x10, green 0x01, blue 0x1F.
        {"555", 16, 0, {0x3F, 0x40, 0, 0}, {0xF8, 0x08, 0x80}},
        // 32 bits: blue, green, red, unused.
        {"32", 32, 0, {0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33}},
        {"32 masks", 32, 3, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33}},
    };
    for (const Case& c : cases) {
        DibFields f;
        f.width = 1, f.height = 1, f.bits = c.bits, f.compression = c.compression, f.ppm = 2834;
        const std::vector<std::uint8_t> block = DibBlock(f, c.rest);
        DibImport in = ImportDib(block.data(), block.size());
        ASSERT_EQ(in.result, DibImportResult::kOk) << c.name;
        EXPECT_EQ(in.dib->BitsPerPixel(), 24u) << c.name;
        EXPECT_EQ(ReadLe32(in.dib->Data() + 16), 0u) << c.name;
        EXPECT_EQ(ReadLe32(in.dib->Data() + 24), 2835u) << c.name;  // 2834 ppm is 72 dpi
        EXPECT_EQ(StoredRow(*in.dib, 0), c.bgr) << c.name;
    }
}

TEST(DibImport, HeaderLiesAreRefusedWithinTheBlock) {
    struct Case {
        const char* name;
        DibFields f;
        std::size_t pixelBytes;  // after the header (and table)
        DibImportResult expected;
    };
    auto with = [](auto change) {
        DibFields f;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"exact", DibFields{}, 16, DibImportResult::kOk},
        {"one byte short", DibFields{}, 15, DibImportResult::kPixelsBeyondBlock},
        {"header size 39", with([](DibFields& f) { f.headerBytes = 39; }), 16, DibImportResult::kBadHeaderSize},
        {"header size past block", with([](DibFields& f) { f.width = 1; }), 0, DibImportResult::kHeaderBeyondBlock},
        {"colours past the depth", with([](DibFields& f) { f.bits = 8; f.colorsUsed = 257; }), 2000,
         DibImportResult::kBadColorTable},
        {"table past block", with([](DibFields& f) { f.bits = 8; }), 100, DibImportResult::kPixelsBeyondBlock},
        {"24-bit table count huge", with([](DibFields& f) { f.colorsUsed = 0x40000000; }), 16,
         DibImportResult::kPixelsBeyondBlock},
        {"image size past block", with([](DibFields& f) { f.imageBytes = 17; }), 16, DibImportResult::kPixelsBeyondBlock},
        {"width 0", with([](DibFields& f) { f.width = 0; }), 16, DibImportResult::kBadDimensions},
        {"width negative", with([](DibFields& f) { f.width = -2; }), 16, DibImportResult::kBadDimensions},
        {"height 0", with([](DibFields& f) { f.height = 0; }), 16, DibImportResult::kBadDimensions},
        {"rows overflow", with([](DibFields& f) { f.width = 0x7FFFFFFF; f.height = 0x7FFFFFFF; f.bits = 32; }), 16,
         DibImportResult::kPixelsBeyondBlock},
        {"height most negative", with([](DibFields& f) { f.height = INT32_MIN; }), 16, DibImportResult::kPixelsBeyondBlock},
        {"run-length", with([](DibFields& f) { f.bits = 8; f.compression = 1; }), 1100, DibImportResult::kUnsupportedFormat},
        {"2 bits", with([](DibFields& f) { f.bits = 2; }), 100, DibImportResult::kUnsupportedFormat},
        {"24-bit bit-fields", with([](DibFields& f) { f.compression = 3; }), 28, DibImportResult::kUnsupportedFormat},
        {"masks past block", with([](DibFields& f) { f.bits = 16; f.compression = 3; }), 11,
         DibImportResult::kPixelsBeyondBlock},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> block = DibBlock(c.f, std::vector<std::uint8_t>(c.pixelBytes, 7));
        if (std::string(c.name) == "header size past block") WriteLe32(&block[0], 41);
        DibImport in = ImportDib(block.data(), block.size());
        EXPECT_EQ(in.result, c.expected) << c.name;
        EXPECT_EQ(in.dib != nullptr, c.expected == DibImportResult::kOk) << c.name;
    }
    std::vector<std::uint8_t> header = DibBlock(DibFields{}, {});
    EXPECT_EQ(ImportDib(header.data(), 39).result, DibImportResult::kHeaderBeyondBlock);
    EXPECT_EQ(ImportDib(nullptr, 100).result, DibImportResult::kHeaderBeyondBlock);
}
