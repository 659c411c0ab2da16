// The enlarged view's BMP loading: a well-formed file row by row (padding
// kept), and a table of files whose fields must not be trusted.
#include "camera/shown_picture.h"

#include <gtest/gtest.h>

#include "bmp_bytes.h"
#include "test_files.h"

namespace {

// width x height, 24 bits, bottom-up; byte i of the stored rows is i & 0xFF.
BmpFields Picture(int width, int height) {
    BmpFields f;
    f.width = width;
    f.height = height;
    f.pixels.resize(((std::size_t(width) * 3 + 3) & ~std::size_t(3)) * std::size_t(height));
    for (std::size_t i = 0; i < f.pixels.size(); ++i) f.pixels[i] = std::uint8_t(i);
    return f;
}

TEST(ShownPicture, LoadsPaddedRowsAsStored) {
    TempFolder folder;
    const BmpFields fields = Picture(5, 3);  // rows of 15 bytes padded to 16
    const std::vector<std::uint8_t> bytes = BuildBmp(fields);
    WriteFileBytes(folder.File("p.bmp"), bytes.data(), bytes.size());
    ShownPicture picture;
    ASSERT_TRUE(LoadShownPicture(folder.File("p.bmp"), picture));
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.height, 3);
    EXPECT_EQ(picture.RowBytes(), 16u);
    EXPECT_EQ(picture.pixels, fields.pixels);
}

TEST(ShownPicture, RefusesWhatDoesNotFit) {
    struct Case {
        const char* what;
        BmpFields fields;
        std::size_t cut;  // bytes left off the end of the file
    };
    auto with = [](void (*change)(BmpFields&)) {
        BmpFields f = Picture(4, 2);
        change(f);
        return f;
    };
    const Case cases[] = {
        {"missing last byte", Picture(4, 2), 1},
        {"8 bits", with([](BmpFields& f) { f.bits = 8; }), 0},
        {"compressed", with([](BmpFields& f) { f.compression = 1; }), 0},
        {"two planes", with([](BmpFields& f) { f.planes = 2; }), 0},
        {"small info header", with([](BmpFields& f) { f.infoBytes = 12; }), 0},
        {"zero width", with([](BmpFields& f) { f.width = 0; }), 0},
        {"negative width", with([](BmpFields& f) { f.width = -4; }), 0},
        {"top-down", with([](BmpFields& f) { f.height = -2; }), 0},
        {"wider than 1280", with([](BmpFields& f) { f.width = 1281; }), 0},
        {"taller than 960", with([](BmpFields& f) { f.height = 961; }), 0},
        {"huge height", with([](BmpFields& f) { f.height = 0x7FFFFFFF; }), 0},
        {"pixels inside the headers", with([](BmpFields& f) { f.dataOffset = 20; }), 0},
        {"pixels beyond the file", with([](BmpFields& f) { f.dataOffset = 0x7FFFFFF0; }), 0},
        {"header only", with([](BmpFields& f) { f.pixels.clear(); }), 0},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = BuildBmp(c.fields);
        bytes.resize(bytes.size() - c.cut);
        WriteFileBytes(folder.File("bad.bmp"), bytes.data(), bytes.size());
        ShownPicture picture;
        picture.width = 7;
        EXPECT_FALSE(LoadShownPicture(folder.File("bad.bmp"), picture)) << c.what;
        EXPECT_EQ(picture.width, 7) << c.what << ": the picture was touched";
    }
    WriteFileBytes(folder.File("empty.bmp"), "", 0);
    ShownPicture picture;
    EXPECT_FALSE(LoadShownPicture(folder.File("empty.bmp"), picture));
    EXPECT_FALSE(LoadShownPicture(folder.File("none.bmp"), picture));
}

}  // namespace
