// The six exports as a caller uses them: refusals, the raw dump, Setting,
// the software-enlarge flag and delegated mode through the test converter.
#include "prism_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "library.h"
#include "prism_state.h"
#include "test_files.h"

namespace {

constexpr int kW = 64, kH = 48;

std::vector<std::uint8_t> Frame(int w = kW, int h = kH) {
    std::vector<std::uint8_t> frame(std::size_t(w) * h + 128);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = std::uint8_t(i * 13 + 5);
    return frame;
}

std::size_t FileSize(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    return ReadFileBytes(path, bytes) ? bytes.size() : 0;
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override { RestartPrism(folder.Path()); }
    void TearDown() override { RestartPrism(folder.Path()); }
    void Restart() { RestartPrism(folder.Path()); }
    TempFolder folder;
};

}  // namespace

TEST_F(Exports, BadInputIsRefusedAndWritesNothing) {
    const std::vector<std::uint8_t> frame = Frame(641, 480);
    const std::string path = folder.File("out.jpg");
    const std::string longPath = folder.File(std::string(260, 'x') + ".jpg");
    const struct {
        const char* what;
        int w, h;
        const unsigned char* frame;
        const char* path;
        int set;
    } cases[] = {
        {"set -1", kW, kH, frame.data(), path.c_str(), -1},
        {"set 3", kW, kH, frame.data(), path.c_str(), 3},
        {"null frame", kW, kH, nullptr, path.c_str(), 0},
        {"null path", kW, kH, frame.data(), nullptr, 0},
        {"empty path", kW, kH, frame.data(), "", 0},
        {"zero width", 0, kH, frame.data(), path.c_str(), 0},
        {"negative height", kW, -2, frame.data(), path.c_str(), 0},
        {"more pixels than the plane", 641, 480, frame.data(), path.c_str(), 0},
        {"wider than 1024", 1026, 2, frame.data(), path.c_str(), 0},
        {"path over 259 characters", kW, kH, frame.data(), longPath.c_str(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BufToJpg(c.w, c.h, c.frame, c.path, 0, c.set), 0) << c.what;
        EXPECT_EQ(BufToBmp(c.w, c.h, c.frame, c.path, 0, c.set), 0) << c.what;
        EXPECT_FALSE(FileExists(path)) << c.what;
    }
    EXPECT_EQ(gPrism.currentSet, -1);  // a refused call does not count as a known set
    EXPECT_EQ(BmpToJpg(kW, kH, nullptr, path.c_str(), 0, 0), 0);
    EXPECT_EQ(BmpToJpg(kW, kH, folder.File("absent.bmp").c_str(), path.c_str(), 0, 0), 0);
    EXPECT_FALSE(FileExists(path));
}

TEST_F(Exports, ConversionsWriteTheirFilesAndReportFailures) {
    const std::vector<std::uint8_t> frame = Frame();
    EXPECT_EQ(BufToBmp(kW, kH, frame.data(), folder.File("a.bmp").c_str(), 0, 2), 1);
    EXPECT_EQ(FileSize(folder.File("a.bmp")), 54u + kW * kH * 3);
    EXPECT_EQ(gPrism.currentSet, 2);
    EXPECT_EQ(BufToJpg(kW, kH, frame.data(), folder.File("a.jpg").c_str(), 0, 1), 1);
    EXPECT_EQ(gPrism.currentSet, 1);
    EXPECT_GT(FileSize(folder.File("a.jpg")), 100u);
    // A file that cannot be created is a failure, not a success.
    EXPECT_EQ(BufToBmp(kW, kH, frame.data(), folder.File("none/a.bmp").c_str(), 0, 0), 0);
    EXPECT_EQ(BufToJpg(kW, kH, frame.data(), folder.File("none/a.jpg").c_str(), 0, 0), 0);
    // The BMP back to JPEG, at the file's own size whatever the caller says.
    EXPECT_EQ(BmpToJpg(1, 1, folder.File("a.bmp").c_str(), folder.File("b.jpg").c_str(), 0, 0), 1);
    EXPECT_EQ(gPrism.currentSet, 0);
}

TEST_F(Exports, RawDumpBesideTheJpeg) {
    WriteFileText(folder.File("TWain01.ini"), "[IPBefore]\r\nSaveRawData=1\r\n");
    Restart();
    const std::vector<std::uint8_t> frame = Frame();
    std::filesystem::create_directory(folder.File("dir.v2"));
    const struct {
        std::string jpeg, dump;
    } cases[] = {
        {folder.File("img0001.jpg"), folder.File("img0001.bin")},
        {folder.File("archive.tar.jpg"), folder.File("archive.tar.bin")},
        {folder.File("noext"), folder.File("noext.bin")},
        {folder.File("dir.v2") + "/name", folder.File("dir.v2") + "/name.bin"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BufToJpg(kW, kH, frame.data(), c.jpeg.c_str(), 0, 0), 1) << c.jpeg;
        std::vector<std::uint8_t> dump;
        ASSERT_TRUE(ReadFileBytes(c.dump, dump)) << c.dump;
        EXPECT_EQ(dump, frame) << c.dump;  // pixels and the 128-byte record behind them
    }
    // Set 1 does not dump.
    EXPECT_EQ(BufToJpg(kW, kH, frame.data(), folder.File("other.jpg").c_str(), 0, 1), 1);
    EXPECT_FALSE(FileExists(folder.File("other.bin")));
    // A dump that cannot be written does not stop the conversion.
    std::filesystem::create_directory(folder.File("blocked.bin"));
    EXPECT_EQ(BufToJpg(kW, kH, frame.data(), folder.File("blocked.jpg").c_str(), 0, 0), 1);
}

TEST_F(Exports, SettingNeedsAKnownSetAndTheEnlargeFlagIsStored) {
#ifndef _WIN32
    // On Windows this shows a message box; the Prism.dll test program answers it.
    EXPECT_EQ(Setting(nullptr), 0);
#endif
    EXPECT_EQ(SetSEOnOff(5), 5);
    EXPECT_EQ(GetSEOnOff(), 5);
    EXPECT_EQ(SetSEOnOff(0), 0);
    EXPECT_EQ(GetSEOnOff(), 0);
}

TEST_F(Exports, SoftwareEnlargeDoublesTheWrittenPicture) {
    WriteFileText(folder.File("TWain01.ini"), "[IPVEXA]\r\nOPVEXA=CN\r\n");
    Restart();
    const std::vector<std::uint8_t> frame = Frame(320, 240);
    EXPECT_EQ(BufToBmp(320, 240, frame.data(), folder.File("small.bmp").c_str(), 0, 0), 1);
    EXPECT_EQ(FileSize(folder.File("small.bmp")), 54u + 320 * 240 * 3);
    SetSEOnOff(1);
    EXPECT_EQ(BufToBmp(320, 240, frame.data(), folder.File("large.bmp").c_str(), 0, 0), 1);
    EXPECT_EQ(FileSize(folder.File("large.bmp")), 54u + 640 * 480 * 3);
}

TEST_F(Exports, DelegatedModeWritesTheConvertersPicture) {
    std::filesystem::copy_file(KILN_LIBRARY, folder.File(kConverterFile));
    WriteFileText(folder.File("TWain.ini"), "[IP]\r\nJPEG=1\r\n");
    Restart();
    ASSERT_EQ(gPrism.Mode(), kModeDelegated);
    std::vector<std::uint8_t> frame = Frame(8, 4);
    for (int flip : {0, 3}) {  // flips do not apply to the converter's picture
        const std::string path = folder.File("kiln" + std::to_string(flip) + ".bmp");
        ASSERT_EQ(BufToBmp(8, 4, frame.data(), path.c_str(), flip, 0), 1);
        std::vector<std::uint8_t> bmp;
        ASSERT_TRUE(ReadFileBytes(path, bmp));
        ASSERT_EQ(bmp.size(), 54u + 8 * 4 * 3);
        for (int i = 0; i < 32; ++i) {
            const std::uint8_t* px = bmp.data() + 54 + 3 * i;
            ASSERT_EQ(px[0], frame[i]) << i;
            ASSERT_EQ(px[1], frame[i] / 2) << i;
            ASSERT_EQ(px[2], 255 - frame[i]) << i;
        }
    }
    EXPECT_EQ(BufToJpg(8, 4, frame.data(), folder.File("kiln.jpg").c_str(), 0, 0), 1);
    EXPECT_EQ(Setting(nullptr), 1);

    frame[0] = 0xE7;  // the test converter answers 7: BufToBmp passes it on
    EXPECT_EQ(BufToBmp(8, 4, frame.data(), folder.File("seven.bmp").c_str(), 0, 0), 7);
    EXPECT_TRUE(FileExists(folder.File("seven.bmp")));

    frame[0] = 0xEE;  // the test converter refuses this frame
    EXPECT_EQ(BufToBmp(8, 4, frame.data(), folder.File("refused.bmp").c_str(), 0, 0), 0);
    EXPECT_EQ(BufToJpg(8, 4, frame.data(), folder.File("refused.jpg").c_str(), 0, 0), 0);
    EXPECT_FALSE(FileExists(folder.File("refused.bmp")));
    EXPECT_FALSE(FileExists(folder.File("refused.jpg")));
}
