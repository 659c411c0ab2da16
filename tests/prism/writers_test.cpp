// BMP writer, JPEG file writer and BMP reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "bmp_bytes.h"
#include "bmp_reader.h"
#include "bmp_writer.h"
#include "jpeg_file.h"
#include "jpeg_probe.h"
#include "prism_api.h"
#include "test_files.h"

namespace {

// A BMP file with a 40-byte information header, the palette right after it
// and the colours-used field counting the palette.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, std::uint32_t compression,
                                  const std::vector<std::uint8_t>& palette,
                                  const std::vector<std::uint8_t>& pixels) {
    BmpFields f;
    f.width = width;
    f.height = height;
    f.bits = std::uint16_t(bits);
    f.compression = compression;
    f.palette = palette;
    f.pixels = pixels;
    return BuildBmp(f);
}

using Bytes = std::vector<std::uint8_t>;

bool ReadBmpBytes(const TempFolder& folder, const std::vector<std::uint8_t>& bytes, BmpImage& image) {
    const std::string path = folder.File("in.bmp");
    WriteFileBytes(path, bytes.data(), bytes.size());
    return ReadBmpFile(path.c_str(), image);
}

}  // namespace

TEST(BmpWriter, TwoByTwoLayoutWithRowPadding) {
    TempFolder folder;
    // Rows in memory order: (blue, white) then (red, green), blue-green-red bytes.
    const std::uint8_t rows[] = {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0};
    const std::string path = folder.File("two.bmp");
    ASSERT_TRUE(WriteBmpFile(path.c_str(), rows, 2, 2));
    std::vector<std::uint8_t> b;
    ASSERT_TRUE(ReadFileBytes(path, b));
    const std::uint8_t expected[] = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // information header
        255, 0, 0, 255, 255, 255, 0, 0,                              // blue, white, padding
        0, 0, 255, 0, 255, 0, 0, 0};                                 // red, green, padding
    ASSERT_EQ(b.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(b.data(), expected, sizeof expected), 0);
}

TEST(BmpWriter, FullFrameSizeAndUncreatableFile) {
    TempFolder folder;
    std::vector<std::uint8_t> plane(640 * 480 * 3, 7);
    const std::string path = folder.File("full.bmp");
    ASSERT_TRUE(WriteBmpFile(path.c_str(), plane.data(), 640, 480));
    std::vector<std::uint8_t> b;
    ReadFileBytes(path, b);
    EXPECT_EQ(b.size(), 921654u);
    EXPECT_FALSE(WriteBmpFile(folder.File("missing/dir.bmp").c_str(), plane.data(), 640, 480));
}

TEST(JpegFile, QualityIsLimitedToOneToHundred) {
    TempFolder folder;
    std::vector<std::uint8_t> rgb(16 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 7);
    auto tableAt = [&](int quality) {
        const std::string path = folder.File("q" + std::to_string(quality) + ".jpg");
        EXPECT_EQ(WriteJpegFile(path.c_str(), rgb.data(), 16, 16, quality), 1) << quality;
        return LuminanceTable(path);
    };
    const std::vector<int> q1 = tableAt(1), q2 = tableAt(2), q100 = tableAt(100), q99 = tableAt(99);
    ASSERT_EQ(q1.size(), 64u);
    EXPECT_EQ(tableAt(0), q1);
    EXPECT_EQ(tableAt(-20), q1);
    EXPECT_EQ(tableAt(150), q100);
    EXPECT_NE(q1, q2);
    EXPECT_NE(q100, q99);
    EXPECT_EQ(q100, std::vector<int>(64, 1));
    EXPECT_EQ(q1, std::vector<int>(64, 255));  // force-baseline caps the values
}

TEST(JpegFile, BlueGreenRedInputGivesTheFileOfTheSwappedBuffer) {
    // Odd sizes leave partial blocks at the right and bottom edges.
    TempFolder folder;
    const int sizes[][2] = {{37, 23}, {640, 480}, {1, 1}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        Bytes bgr(std::size_t(w) * h * 3);
        for (std::size_t i = 0; i < bgr.size(); ++i) bgr[i] = std::uint8_t((i * 131) ^ (i >> 7));
        Bytes rgb = bgr;
        for (std::size_t i = 0; i < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
        const std::string fromRgb = folder.File("rgb.jpg"), fromBgr = folder.File("bgr.jpg");
        ASSERT_EQ(WriteJpegFile(fromRgb.c_str(), rgb.data(), w, h, 80), 1);
        ASSERT_EQ(WriteJpegFile(fromBgr.c_str(), bgr.data(), w, h, 80, PixelOrder::kBgr), 1);
        Bytes a, b;
        ASSERT_TRUE(ReadFileBytes(fromRgb, a) && ReadFileBytes(fromBgr, b));
        EXPECT_GT(a.size(), 100u);
        EXPECT_EQ(a, b) << w << " x " << h;
    }
}

TEST(JpegFile, RefusalsWriteNothing) {
    TempFolder folder;
    std::vector<std::uint8_t> rgb(8 * 8 * 3, 100);
    const std::string path = folder.File("out.jpg");
    EXPECT_EQ(WriteJpegFile(path.c_str(), nullptr, 8, 8, 80), 0);
    EXPECT_EQ(WriteJpegFile(path.c_str(), rgb.data(), 0, 8, 80), 0);
    EXPECT_EQ(WriteJpegFile(path.c_str(), rgb.data(), 8, 0, 80), 0);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(WriteJpegFile(folder.File("no/such/dir.jpg").c_str(), rgb.data(), 8, 8, 80), 0);
    // Too large for libjpeg: a fatal error inside compression returns 0 and removes the file.
    EXPECT_EQ(WriteJpegFile(path.c_str(), rgb.data(), 70000, 1, 80), 0);
    EXPECT_FALSE(FileExists(path));
}

TEST(BmpReader, ReadsPaletteAndTrueColourDepths) {
    TempFolder folder;
    BmpImage image;
    // 8 bits, 3 x 2, two palette entries; rows padded to 4 bytes; bottom row stored first.
    const std::vector<std::uint8_t> palette = {10, 20, 30, 0, 200, 150, 100, 0};
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(3, 2, 8, 0, palette, {0, 1, 0, 0, 1, 1, 1, 0}), image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    const std::vector<std::uint8_t> expected8 = {100, 150, 200, 100, 150, 200, 100, 150, 200,  // top row
                                                 30, 20, 10, 100, 150, 200, 30, 20, 10};
    EXPECT_EQ(image.rgb, expected8);

    // 1 bit: bits from the most significant end.
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(4, 1, 1, 0, palette, {0xA0, 0, 0, 0}), image));
    EXPECT_EQ(image.rgb, (std::vector<std::uint8_t>{100, 150, 200, 30, 20, 10, 100, 150, 200, 30, 20, 10}));

    // 4 bits.
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(3, 1, 4, 0, palette, {0x10, 0x10, 0, 0}), image));
    EXPECT_EQ(image.rgb, (std::vector<std::uint8_t>{100, 150, 200, 30, 20, 10, 100, 150, 200}));

    // 24 bits: blue, green, red become red, green, blue.
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(1, 2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), image));
    EXPECT_EQ(image.rgb, (std::vector<std::uint8_t>{6, 5, 4, 3, 2, 1}));
}

// Malformed files of the kinds that have broken BMP readers elsewhere, given
// to BmpToJpg as a caller does: each is refused (0, no JPEG file) or, where
// the format allows it, read with the right colours.
TEST(BmpReader, MalformedFilesAreRefusedOrReadCorrectly) {
    TempFolder folder;
    const std::vector<std::uint8_t> twoColours = {10, 20, 30, 0, 200, 150, 100, 0};
    const std::vector<std::uint8_t> expected2x2 = {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4};
    // 8 bits, 2 x 1: indices 1, 0, padded to 4 bytes.
    const std::vector<std::uint8_t> indices = {1, 0, 0, 0};
    const std::vector<std::uint8_t> expectedIndexed = {100, 150, 200, 30, 20, 10};

    auto bmp = [](auto change) {
        BmpFields f;
        f.width = 2;
        f.height = 2;
        f.pixels = Bytes{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
        change(f);
        return BuildBmp(f);
    };
    auto indexed = [&](auto change) {
        return bmp([&](BmpFields& f) {
            f.height = 1;
            f.bits = 8;
            f.palette = twoColours;
            f.pixels = indices;
            change(f);
        });
    };
    std::vector<std::uint8_t> headerOnly = bmp([](BmpFields&) {});
    headerOnly.resize(40);
    std::vector<std::uint8_t> wrongType = bmp([](BmpFields&) {});
    wrongType[1] = 'A';
    std::vector<std::uint8_t> lastByteMissing = bmp([](BmpFields&) {});
    lastByteMissing.pop_back();

    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint8_t> expected;  // empty: refused
    } cases[] = {
        // Sizes whose products overflow 32 bits.
        {"65536 x 65536 pixels", bmp([](BmpFields& f) { f.width = 65536, f.height = 65536; }), {}},
        {"row of 2^31 - 1 pixels", bmp([](BmpFields& f) { f.width = 0x7fffffff, f.height = 1; }), {}},
        {"2^30 x 4 at 24 bits", bmp([](BmpFields& f) { f.width = 1 << 30, f.height = 4; }), {}},
        // Offsets.
        {"pixel offset past the end", bmp([](BmpFields& f) { f.dataOffset = 100000; }), {}},
        {"pixel offset 0xffffffff", bmp([](BmpFields& f) { f.dataOffset = 0xffffffffu; }), {}},
        {"pixel offset inside the headers", bmp([](BmpFields& f) { f.dataOffset = 20; }), {}},
        {"pixel offset inside the palette", indexed([](BmpFields& f) { f.dataOffset = 56; }), {}},
        // Dimensions.
        {"zero width", bmp([](BmpFields& f) { f.width = 0; }), {}},
        {"zero height", bmp([](BmpFields& f) { f.height = 0; }), {}},
        {"negative width", bmp([](BmpFields& f) { f.width = -2; }), {}},
        {"INT_MIN width", bmp([](BmpFields& f) { f.width = INT32_MIN; }), {}},
        {"INT_MIN height", bmp([](BmpFields& f) { f.height = INT32_MIN; }), {}},
        {"negative height: rows top-down", bmp([](BmpFields& f) { f.height = -2; }),
         {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
        // Colour counts.
        {"3 colours at 1 bit", indexed([](BmpFields& f) {
             f.bits = 1, f.pixels = Bytes{0x40, 0, 0, 0}, f.palette.resize(12, 0);
         }), {}},
        {"257 colours at 8 bits", indexed([](BmpFields& f) { f.palette.resize(257 * 4, 0); }), {}},
        {"colours beyond the file", indexed([](BmpFields& f) { f.coloursUsed = 0xffffffffu; }), {}},
        {"colours beyond the pixel offset", indexed([](BmpFields& f) { f.coloursUsed = 200; }), {}},
        {"palette index beyond the palette", indexed([](BmpFields& f) { f.pixels = Bytes{1, 2, 0, 0}; }), {}},
        {"2 colours of 256 at 8 bits", indexed([](BmpFields&) {}), expectedIndexed},
        {"colour table beside true colour", bmp([](BmpFields& f) { f.palette = Bytes{9, 9, 9, 0}; }), expected2x2},
        // Depths.
        {"depth 0", bmp([](BmpFields& f) { f.bits = 0; }), {}},
        {"depth 2", indexed([](BmpFields& f) { f.bits = 2; }), {}},
        {"depth 16", bmp([](BmpFields& f) { f.bits = 16; }), {}},
        {"depth 32", bmp([](BmpFields& f) { f.bits = 32; }), {}},
        {"depth 65535", bmp([](BmpFields& f) { f.bits = 65535; }), {}},
        // Compression.
        {"bit fields at 16 bits", bmp([](BmpFields& f) { f.bits = 16, f.compression = 3; }), {}},
        {"bit fields at 32 bits", bmp([](BmpFields& f) { f.bits = 32, f.compression = 3; }), {}},
        {"run-length 8", indexed([](BmpFields& f) { f.compression = 1; }), {}},
        {"run-length 4", indexed([](BmpFields& f) { f.bits = 4, f.compression = 2; }), {}},
        {"embedded JPEG", bmp([](BmpFields& f) { f.compression = 4; }), {}},
        // Truncation.
        {"rows cut short", bmp([](BmpFields& f) { f.pixels.resize(10); }), {}},
        {"last row's padding missing", lastByteMissing, {}},
        {"headers only", headerOnly, {}},
        {"empty file", {}, {}},
        {"wrong type", wrongType, {}},
        // Information headers and planes.
        {"108-byte header, palette after it", indexed([](BmpFields& f) { f.infoBytes = 108; }), expectedIndexed},
        {"124-byte header, palette after it", indexed([](BmpFields& f) { f.infoBytes = 124; }), expectedIndexed},
        {"52-byte header", bmp([](BmpFields& f) { f.infoBytes = 52; }), expected2x2},
        {"56-byte header", bmp([](BmpFields& f) { f.infoBytes = 56; }), expected2x2},
        {"12-byte core header", bmp([](BmpFields& f) { f.infoBytes = 12; }), {}},
        {"64-byte OS/2 header", bmp([](BmpFields& f) { f.infoBytes = 64; }), {}},
        {"header larger than the file", bmp([](BmpFields& f) { f.infoBytes = 0x7ffffff0; }), {}},
        {"0 planes", bmp([](BmpFields& f) { f.planes = 0; }), {}},
        {"2 planes", bmp([](BmpFields& f) { f.planes = 2; }), {}},
    };
    const std::string bmpPath = folder.File("in.bmp");
    const std::string jpegPath = folder.File("out.jpg");
    for (const auto& c : cases) {
        WriteFileBytes(bmpPath, c.bytes.data(), c.bytes.size());
        BmpImage image;
        const bool read = ReadBmpFile(bmpPath.c_str(), image);
        const int converted = BmpToJpg(0, 0, bmpPath.c_str(), jpegPath.c_str(), 0, 0);
        if (c.expected.empty()) {
            EXPECT_FALSE(read) << c.what;
            EXPECT_EQ(converted, 0) << c.what;
            EXPECT_FALSE(FileExists(jpegPath)) << c.what;
        } else {
            EXPECT_TRUE(read) << c.what;
            EXPECT_EQ(image.rgb, c.expected) << c.what;
            EXPECT_EQ(converted, 1) << c.what;
            EXPECT_TRUE(FileExists(jpegPath)) << c.what;
        }
        std::remove(jpegPath.c_str());
    }
    BmpImage image;
    EXPECT_FALSE(ReadBmpFile(folder.File("absent.bmp").c_str(), image));
}

TEST(BmpReader, TopDownRowsAreSupported) {
    TempFolder folder;
    BmpImage image;
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), image));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.rgb, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
}
