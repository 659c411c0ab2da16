// Section "Setting": window switches, the picture folder rule, writes, and
// how typed numbers are read.
#include "settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "platform/platform.h"
#include "test_files.h"

namespace {

// Folders that can be made are listed; every attempt is noted.
class FakeFolders : public CFolderSystem {
public:
    std::string DocumentsFolder() override { return "C:\\Users\\me\\Documents"; }
    bool MakeFolder(const std::string& path) override {
        attempts.push_back(path);
        return creatable.count(path) != 0;
    }

    std::set<std::string> creatable = {"C:\\Users\\me\\Documents\\My DSC", "D:\\Pictures"};
    std::vector<std::string> attempts;
};

std::string Value(const std::string& path, const char* key) {
    char value[260];
    platform::GetProfileText("Setting", key, "<missing>", value, sizeof value, path.c_str());
    return value;
}

}  // namespace

TEST(WindowSettings, DefaultsAndValues) {
    TempFolder folder;
    const std::string path = folder.File("TWain.ini");
    CWindowSettings s = ReadWindowSettings(path);
    EXPECT_EQ(s.showThumbnailNumber, 1);
    EXPECT_EQ(s.hideByOtherAP, 0);
    EXPECT_EQ(s.enlarge, 0);
    WriteFileText(path, "[Setting]\r\nShowThumbnailNumber=0\r\nHideByOtherAP=1\r\nEnlarge=2\r\n");
    s = ReadWindowSettings(path);
    EXPECT_EQ(s.showThumbnailNumber, 0);
    EXPECT_EQ(s.hideByOtherAP, 1);
    EXPECT_EQ(s.enlarge, 2);
}

TEST(PictureSettings, DefaultsLeaveTheFileAlone) {
    TempFolder folder;
    const std::string path = folder.File("TWain.ini");
    FakeFolders folders;
    CPictureSettings s;
    s.Read(path, 0, folders);
    EXPECT_EQ(s.path, "C:\\Users\\me\\Documents\\My DSC");
    EXPECT_EQ(s.next, 1);
    EXPECT_EQ(s.enlargeOnOff, 0);
    EXPECT_EQ(folders.attempts, std::vector<std::string>{"C:\\Users\\me\\Documents\\My DSC"});
    EXPECT_FALSE(FileExists(path));
}

TEST(PictureSettings, FolderThatCannotBeMadeIsReplacedInTheFile) {
    TempFolder folder;
    const std::string path = folder.File("TWain.ini");
    WriteFileText(path, "[Setting]\r\nPath=Q:\\missing drive\\pictures\r\nNext=12\r\n");
    FakeFolders folders;
    CPictureSettings s;
    s.Read(path, 0, folders);
    EXPECT_EQ(s.path, "C:\\Users\\me\\Documents\\My DSC");
    EXPECT_EQ(Value(path, "Path"), "C:\\Users\\me\\Documents\\My DSC");
    EXPECT_EQ(s.next, 12);

    WriteFileText(path, "[Setting]\r\nPath=D:\\Pictures\r\n");
    s.Read(path, 0, folders);
    EXPECT_EQ(s.path, "D:\\Pictures");
    EXPECT_EQ(Value(path, "Path"), "D:\\Pictures");
}

TEST(PictureSettings, EnlargeSwitchOnlyWhenOffered) {
    TempFolder folder;
    const std::string path = folder.File("TWain.ini");
    WriteFileText(path, "[Setting]\r\nEnlargeOnOff=1\r\n");
    FakeFolders folders;
    CPictureSettings s;
    s.Read(path, 0, folders);
    EXPECT_EQ(s.enlargeOnOff, 0);
    s.Read(path, 1, folders);
    EXPECT_EQ(s.enlargeOnOff, 1);
}

TEST(PictureSettings, WriteStoresPathNextAndTheOfferedSwitch) {
    TempFolder folder;
    const std::string path = folder.File("TWain.ini");
    CPictureSettings s;
    s.path = "D:\\Pictures";
    s.next = 0;
    s.enlargeOnOff = 1;
    s.Write(path, 0);
    EXPECT_EQ(Value(path, "Path"), "D:\\Pictures");
    EXPECT_EQ(Value(path, "Next"), "0");
    EXPECT_EQ(Value(path, "EnlargeOnOff"), "<missing>");
    s.next = -7;
    s.Write(path, 1);
    EXPECT_EQ(Value(path, "Next"), "-7");
    EXPECT_EQ(Value(path, "EnlargeOnOff"), "1");
    s.enlargeOnOff = 0;
    s.Write(path, 1);
    EXPECT_EQ(Value(path, "EnlargeOnOff"), "0");
}

TEST(ParseNumber, LeadingNumberOrZero) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"0", 0},   {"12", 12},      {"-3", -3},          {" 5", 5},
                          {"7x", 7},  {"abc", 0},      {"", 0},             {"99999999999", INT_MAX},
                          {"-99999999999", INT_MIN}};
    for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}
