// Strings file: template texts with the "XXX" sentinel, built-in texts, the
// language section chosen at each lookup.
#include "strings_file.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace {

LocaleIds gLocale = {1252, 0x0409};
LocaleIds TestLocale() { return gLocale; }

class StringsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLocale = {1252, 0x0409};
        path_ = folder_.File("TWain.ini");
        WriteFileText(path_,
                      "[Setting]\r\nNext=4\r\n"
                      "[ENG]\r\n11=My Camera\r\n39=Camera not found\r\n49=Ready\r\n"
                      "[GERMAN]\r\n11=Kamera\r\n36=Fertig.\r\n"
                      "[GB]\r\n11=GB camera\r\n");
        strings_.Bind(path_, TestLocale);
    }

    TempFolder folder_;
    std::string path_;
    CStringsFile strings_;
};

}  // namespace

TEST_F(StringsFileTest, TemplateTextsKeepTheTemplateWhenMissing) {
    EXPECT_EQ(strings_.Text(11), "My Camera");
    EXPECT_EQ(strings_.Text(12), "XXX");
    EXPECT_TRUE(CStringsFile::Keeps(strings_.Text(12)));
    EXPECT_FALSE(CStringsFile::Keeps(strings_.Text(11)));
    EXPECT_EQ(strings_.Lookup(50, ""), "");
    EXPECT_EQ(strings_.Lookup(49, ""), "Ready");
}

TEST_F(StringsFileTest, MessagesFallBackToBuiltInTexts) {
    struct Case {
        int key;
        const char* text;
    };
    const Case english[] = {
        {11, "My Camera"},
        {27, "Open"},
        {33, ""},
        {36, "Download succeed."},
        {37, "No Picture."},
        {38, "Download Error"},
        {39, "Camera not found"},
        {40, "Transfer Error."},
        {41, "All Pictures in Camera will be erased!\nAre you sure?"},
        {42, "Remove Files OK."},
        {55, ""},
    };
    for (const Case& c : english) EXPECT_EQ(strings_.Message(c.key), c.text) << "key " << c.key;

    gLocale = {1252, 0x0407};
    EXPECT_EQ(strings_.Message(36), "Fertig.");
    EXPECT_EQ(strings_.Message(39), "No Camera.");
    gLocale = {1252, 0x0410};  // no Italian section: caption default
    EXPECT_EQ(strings_.Message(11), "Camera");
}

TEST_F(StringsFileTest, SectionFollowsTheLocaleAtEachLookup) {
    EXPECT_EQ(strings_.Text(11), "My Camera");
    gLocale = {936, 0x0407};
    EXPECT_EQ(strings_.Text(11), "GB camera");
    gLocale = {1252, 0x0807};
    EXPECT_EQ(strings_.Text(11), "Kamera");
}

TEST_F(StringsFileTest, LongValuesAreCutTo259Characters) {
    WriteFileText(path_, "[ENG]\r\n11=" + std::string(400, 'a') + "\r\n");
    EXPECT_EQ(strings_.Text(11), std::string(259, 'a'));
}
