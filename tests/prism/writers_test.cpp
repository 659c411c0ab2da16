// BMP writer, JPEG file writer and BMP reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "bmp_reader.h"
#include "bmp_writer.h"
#include "jpeg_file.h"
#include "jpeg_probe.h"
#include "test_files.h"

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A BMP file: headers with the given fields, then the palette and pixel bytes.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, std::uint32_t compression,
                                  const std::vector<std::uint8_t>& palette,
                                  const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, std::uint32_t(54 + palette.size() + pixels.size()));
    Put32(b, 10, std::uint32_t(54 + palette.size()));
    Put32(b, 14, 40);
    Put32(b, 18, std::uint32_t(width));
    Put32(b, 22, std::uint32_t(height));
    b[26] = 1;
    b[28] = std::uint8_t(bits);
    Put32(b, 30, compression);
    Put32(b, 46, std::uint32_t(palette.size() / 4));
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

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

TEST(BmpReader, RefusesUnsupportedAndMalformedFiles) {
    TempFolder folder;
    BmpImage image;
    const std::vector<std::uint8_t> pixels(64, 0);
    const std::vector<std::uint8_t> palette(8, 0);
    std::vector<std::uint8_t> wrongType = MakeBmp(2, 2, 24, 0, {}, pixels);
    wrongType[0] = 'X';
    std::vector<std::uint8_t> offsetInsidePalette = MakeBmp(2, 2, 8, 0, palette, pixels);
    Put32(offsetInsidePalette, 10, 54);
    std::vector<std::uint8_t> offsetPastEnd = MakeBmp(2, 2, 24, 0, {}, pixels);
    Put32(offsetPastEnd, 10, 100000);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"run-length compressed", MakeBmp(2, 2, 8, 1, palette, pixels)},
        {"16 bits", MakeBmp(2, 2, 16, 0, {}, pixels)},
        {"32 bits", MakeBmp(2, 2, 32, 0, {}, pixels)},
        {"wrong type", wrongType},
        {"truncated header", std::vector<std::uint8_t>(wrongType.begin(), wrongType.begin() + 30)},
        {"pixels beyond the file", MakeBmp(100, 100, 24, 0, {}, pixels)},
        {"huge size", MakeBmp(0x7fffffff, 0x7fffffff, 24, 0, {}, pixels)},
        {"zero width", MakeBmp(0, 2, 24, 0, {}, pixels)},
        {"offset inside the palette", offsetInsidePalette},
        {"offset past the end", offsetPastEnd},
    };
    for (const auto& c : cases) EXPECT_FALSE(ReadBmpBytes(folder, c.bytes, image)) << c.what;
    EXPECT_FALSE(ReadBmpFile(folder.File("absent.bmp").c_str(), image));
}

TEST(BmpReader, TopDownRowsAreSupported) {
    TempFolder folder;
    BmpImage image;
    ASSERT_TRUE(ReadBmpBytes(folder, MakeBmp(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), image));
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.rgb, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
}
