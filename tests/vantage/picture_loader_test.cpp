// The load step of a refresh against a fake camera: frame files with the
// record appended, names in use skipped, frames that do not fit or fail
// left out, the result codes, thumbnails of both geometries, emptying.
#include "camera/picture_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "camera/thumbnails.h"
#include "test_files.h"

namespace {

constexpr std::uint8_t kStill = 0x00, kClipA = 0x18;

struct FakeFrame {
    std::uint32_t bytes;  // 0: ReadFrame fails
    std::uint8_t fill;
};

class FakeCamera : public CCameraReader {
public:
    FakeCamera(const std::vector<std::uint8_t>& flags, const std::vector<FakeFrame>& frames) : frames_(frames) {
        header_[9] = 0xA1;  // format code 1: flip
        for (std::size_t i = 0; i < flags.size(); ++i) header_[kEntryFlagsOffset + 4 * i] = flags[i];
        count_ = std::uint16_t(flags.size());
        records_.assign(std::size_t(count_ < 600 ? 600 : count_) * kEntryRecordBytes, 0);
        for (std::size_t i = 0; i < flags.size(); ++i) records_[i * kEntryRecordBytes] = std::uint8_t(0x40 + i);
    }
    bool GetFrameInfo(std::uint8_t* record) override {
        ++infoCalls;
        if (!answers) return false;
        std::memset(record, 0, kFrameInfoRecordBytes);
        record[4] = 320 & 0xFF, record[5] = 320 >> 8, record[8] = 240;
        return true;
    }
    void SetFrameSize(int width, int height) override { sizes.push_back({width, height}); }
    bool ReadDirectory(std::uint16_t& count, const std::uint8_t*& header) override {
        count = count_;
        header = header_;
        return directoryOk;
    }
    bool ReadEntries(const std::uint8_t*& records) override {
        records = records_.data();
        return true;
    }
    bool ReadFrame(int entry, const std::uint8_t*& frame, std::uint32_t& bytes) override {
        const FakeFrame f = frames_.at(std::size_t(entry));
        if (goneAfterRead) answers = false;  // unplugged during the refresh
        if (f.bytes == 0) return false;
        data_.assign(f.bytes, f.fill);
        frame = data_.data();
        bytes = f.bytes;
        return true;
    }

    bool answers = true;
    bool goneAfterRead = false;
    bool directoryOk = true;
    int infoCalls = 0;
    std::vector<std::pair<int, int>> sizes;
    std::uint16_t count_ = 0;

private:
    std::uint8_t header_[kDirectoryHeaderBytes] = {};
    std::vector<std::uint8_t> records_;
    std::vector<FakeFrame> frames_;
    std::vector<std::uint8_t> data_;
};

// Develops a frame into a picture whose pixel (x, y) is (x, y, fill of the frame).
class FakeTarget : public CLoadTarget {
public:
    explicit FakeTarget(std::string folder) : folder_(std::move(folder)) {}
    std::string TempFolder() override { return folder_; }
    bool Develop(const std::uint8_t* raw, int width, int height, int flip, int set,
                 std::vector<std::uint8_t>& pixels) override {
        developed.push_back({width, flip * 100 + set});
        pixels.resize(std::size_t(width) * height * 3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * 3];
                p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = raw[0];
            }
        return true;
    }
    void ThumbnailMade(int item, std::vector<std::uint8_t>&& thumbnail) override { thumbnails[item] = thumbnail; }
    bool Cancelled() override { return false; }

    std::vector<std::pair<int, int>> developed;  // width, flip * 100 + set
    std::map<int, std::vector<std::uint8_t>> thumbnails;

private:
    std::string folder_;
};

constexpr std::uint32_t kLarge = 640 * 480, kSmall = 320 * 240;

}  // namespace

TEST(LoadPictures, FrameFilesThumbnailsAndEmptying) {
    TempFolder temp;
    std::set<std::string> held = {FrameFileName(temp.Path(), 1)};  // held open elsewhere
    CFrameFiles names([&](const std::string& path) { return held.count(path) != 0 || FileExists(path); });
    // A still, a clip of three with its middle frame failing, a still too large for the buffer.
    FakeCamera camera({kStill, kClipA, kClipA, kClipA, kStill},
                      {{kLarge, 7}, {kSmall, 8}, {0, 0}, {kSmall, 9}, {kLarge + 1, 5}});
    FakeTarget target(temp.Path());
    CPictureTable table;
    EXPECT_EQ(LoadPictures(table, names, camera, target), kLoadComplete);  // failed, but the camera answers
    EXPECT_EQ(camera.infoCalls, 2);
    ASSERT_EQ(camera.sizes.size(), 2u);
    EXPECT_EQ(camera.sizes[0], std::make_pair(640, 480));
    EXPECT_EQ(camera.sizes[1], std::make_pair(320, 240));  // the saved size back

    ASSERT_EQ(table.Items().size(), 3u);
    const PictureItem& still = table.Items()[0];
    const PictureItem& clip = table.Items()[1];
    EXPECT_EQ(still.files, std::vector<std::string>{FrameFileName(temp.Path(), 0)});
    EXPECT_EQ(clip.count, 2);
    // Name 1 is held elsewhere: skipped; the failed frame still used a name (3).
    EXPECT_EQ(clip.files, (std::vector<std::string>{FrameFileName(temp.Path(), 2), FrameFileName(temp.Path(), 4)}));
    EXPECT_EQ(table.Items()[2].count, 0);
    EXPECT_TRUE(table.Items()[2].files.empty());

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(clip.files[1], bytes));
    ASSERT_EQ(bytes.size(), kSmallFrameFileBytes);
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[kSmall], 0x41) << "the record of the item's first entry follows the frame";

    ASSERT_EQ(target.thumbnails.size(), 2u);
    EXPECT_EQ(target.developed, (std::vector<std::pair<int, int>>{{640, 101}, {320, 101}}));
    const std::vector<std::uint8_t>& large = target.thumbnails[0];
    const std::vector<std::uint8_t>& small = target.thumbnails[1];
    ASSERT_EQ(large.size(), std::size_t(kThumbnailBytes));
    // Large: thumbnail (x, y) is picture (5x, 5y).
    for (int y : {0, 47, 95})
        for (int x : {0, 50, 127}) {
            const std::uint8_t* p = &large[(std::size_t(y) * 128 + x) * 3];
            EXPECT_EQ(p[0], std::uint8_t(5 * x));
            EXPECT_EQ(p[1], std::uint8_t(5 * y));
            EXPECT_EQ(p[2], 7);
        }
    // Small: a 64 x 48 block at (32, 24) on white.
    int white = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 128; ++x) {
            const std::uint8_t* p = &small[(std::size_t(y) * 128 + x) * 3];
            const bool inside = x >= 32 && x < 96 && y >= 24 && y < 72;
            if (inside) {
                EXPECT_EQ(p[0], std::uint8_t(5 * (x - 32))) << x << "," << y;
                EXPECT_EQ(p[1], std::uint8_t(5 * (y - 24)));
                EXPECT_EQ(p[2], 8);
            } else {
                white += p[0] == 255 && p[1] == 255 && p[2] == 255;
            }
        }
    EXPECT_EQ(white, 128 * 96 - 64 * 48);

    std::vector<std::string> files = still.files;
    files.insert(files.end(), clip.files.begin(), clip.files.end());
    EmptyPictureTable(table);
    EXPECT_TRUE(table.Items().empty());
    for (const std::string& f : files) EXPECT_FALSE(FileExists(f)) << f << " left behind";
}

TEST(LoadPictures, ResultCodes) {
    TempFolder temp;
    CFrameFiles names([](const std::string& path) { return FileExists(path); });
    struct Case {
        const char* what;
        bool directoryOk;
        std::vector<std::uint8_t> flags;
        std::vector<FakeFrame> frames;
        bool answersAfterwards;
        std::string folder;
        LoadResult result;
        std::size_t thumbnails;
    };
    const Case cases[] = {
        {"directory fails", false, {kStill}, {{kLarge, 1}}, true, temp.Path(), kLoadEmpty, 0},
        {"no entries", true, {}, {}, true, temp.Path(), kLoadEmpty, 0},
        {"all well", true, {kStill, kStill}, {{kLarge, 1}, {kSmall, 2}}, true, temp.Path(), kLoadComplete, 2},
        {"a frame failed, camera gone", true, {kStill, kStill}, {{0, 0}, {kSmall, 2}}, false, temp.Path(),
         kLoadIncomplete, 1},
        {"no temporary folder", true, {kStill}, {{kLarge, 1}}, true, "", kLoadComplete, 0},
        {"temporary folder not writable", true, {kStill}, {{kLarge, 1}}, false, temp.File("missing"),
         kLoadIncomplete, 0},
    };
    for (const Case& c : cases) {
        FakeCamera camera(c.flags, c.frames);
        camera.directoryOk = c.directoryOk;
        FakeTarget target(c.folder);
        camera.goneAfterRead = !c.answersAfterwards;
        CPictureTable table;
        EXPECT_EQ(LoadPictures(table, names, camera, target), c.result) << c.what;
        EXPECT_EQ(target.thumbnails.size(), c.thumbnails) << c.what;
        EmptyPictureTable(table);
    }
}
