// Packed DIB layout: depth classes, resolution rounding, the BMP file header
// and the rows handed to the JPEG writer.
#include "packed_dib.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(PackedDib, CreateTakesTheDepthClassAndSeventyTwoDpi) {
    struct Case {
        std::uint32_t requested, depth, tableEntries;
    } cases[] = {{0, 1, 2}, {1, 1, 2}, {2, 4, 16}, {4, 4, 16}, {5, 8, 256}, {8, 8, 256},
                 {9, 24, 0}, {16, 24, 0}, {24, 24, 0}, {32, 24, 0}};
    for (const Case& c : cases) {
        auto dib = CPackedDib::Create(5, 3, c.requested);
        ASSERT_TRUE(dib) << c.requested;
        EXPECT_EQ(dib->BitsPerPixel(), c.depth) << c.requested;
        EXPECT_EQ(dib->ColorTableEntries(), c.tableEntries) << c.requested;
        const std::uint64_t row = (5 * c.depth + 31) / 32 * 4;
        EXPECT_EQ(dib->Size(), 40 + c.tableEntries * 4 + row * 3) << c.requested;
        EXPECT_EQ(ReadLe32(dib->Data()), 40u);
        EXPECT_EQ(ReadLe32(dib->Data() + 24), 2835u);
        EXPECT_EQ(ReadLe32(dib->Data() + 28), 2835u);
    }
    EXPECT_FALSE(CPackedDib::Create(0, 3, 24));
    EXPECT_FALSE(CPackedDib::Create(3, -1, 24));
    EXPECT_FALSE(CPackedDib::Create(0x7FFFFFFF, 0x7FFFFFFF, 24));  // past the capacity, no overflow
}

TEST(PackedDib, ResolutionRoundsBothWays) {
    struct Case {
        int dpi;
        std::int32_t ppm;
    } cases[] = {{72, 2835}, {96, 3780}, {300, 11811}, {0, 0}, {1, 39}};
    for (const Case& c : cases) {
        EXPECT_EQ(PixelsPerMetre(c.dpi), c.ppm) << c.dpi;
        EXPECT_EQ(DotsPerInch(c.ppm), c.dpi) << c.ppm;
    }
    EXPECT_EQ(DotsPerInch(2834), 72);  // 71.98 rounds up
    EXPECT_EQ(DotsPerInch(3799), 96);  // 96.49 rounds down
    // Header values at the field's ends come back within it.
    EXPECT_EQ(PixelsPerMetre(DotsPerInch(INT32_MIN)), INT32_MIN);
    EXPECT_EQ(PixelsPerMetre(DotsPerInch(INT32_MAX)), INT32_MAX);
}

TEST(PackedDib, BmpFileHeaderCountsTheColourTable) {
    auto indexed = CPackedDib::Create(3, 2, 8);
    auto rgb = CPackedDib::Create(3, 2, 24);
    const std::vector<std::uint8_t> a = BmpFileHeader(*indexed);
    const std::vector<std::uint8_t> b = BmpFileHeader(*rgb);
    ASSERT_EQ(a.size(), 14u);
    EXPECT_EQ(a[0], 'B');
    EXPECT_EQ(a[1], 'M');
    EXPECT_EQ(ReadLe32(&a[2]), 14u + 40 + 1024 + 4 * 2);
    EXPECT_EQ(ReadLe32(&a[6]), 0u);
    EXPECT_EQ(ReadLe32(&a[10]), 14u + 40 + 1024);
    EXPECT_EQ(ReadLe32(&b[2]), 14u + 40 + 12 * 2);
    EXPECT_EQ(ReadLe32(&b[10]), 54u);
}

TEST(PackedDib, JpegRowsAreTopFirstRgbWithoutPadding) {
    // 3 x 2 at 24 bits: rows of 9 bytes padded to 12. Stored bottom row first.
    auto dib = CPackedDib::Create(3, 2, 24);
    std::uint8_t* bits = dib->Bits();
    for (int i = 0; i < 9; ++i) bits[i] = std::uint8_t(i + 1);        // bottom row
    for (int i = 0; i < 9; ++i) bits[12 + i] = std::uint8_t(i + 11);  // top row
    bits[9] = bits[10] = bits[11] = 0xEE;                             // padding must not show
    const std::vector<std::uint8_t> expected = {13, 12, 11, 16, 15, 14, 19, 18, 17,
                                                3, 2, 1, 6, 5, 4, 9, 8, 7};
    EXPECT_EQ(DibToRgbRows(*dib), expected);

    // 4 bits per pixel through the colour table: high nibble first.
    auto indexed = CPackedDib::Create(3, 1, 4);
    std::uint8_t* table = indexed->ColorTable();
    table[1 * 4 + 0] = 10, table[1 * 4 + 1] = 20, table[1 * 4 + 2] = 30;   // blue, green, red of 1
    table[15 * 4 + 0] = 1, table[15 * 4 + 1] = 2, table[15 * 4 + 2] = 3;   // of 15
    indexed->Bits()[0] = 0x1F;
    indexed->Bits()[1] = 0x10;
    const std::vector<std::uint8_t> expectedIndexed = {30, 20, 10, 3, 2, 1, 30, 20, 10};
    EXPECT_EQ(DibToRgbRows(*indexed), expectedIndexed);
}
