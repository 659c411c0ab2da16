// Settings store: profile-file semantics (the same tests run against the
// POSIX implementation natively and against Windows' own functions under
// Wine), the sentinel, conversions, and the records' Load and Save.
#include "ini_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "letter_params.h"
#include "platform/platform.h"
#include "stage_params.h"
#include "test_files.h"

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

}  // namespace

TEST(IniFile, ProfileRulesForReading) {
    TempFolder folder;
    const std::string path = folder.File("rules.ini");
    WriteFileText(path, "[First]\r\n"
                        "  Spaced  =   value with blanks   \r\n"
                        "Quoted=\"in quotes\"\r\n"
                        "Single='single'\r\n"
                        "Empty=\r\n"
                        "Number=42abc\r\n"
                        "Real=1.5x\r\n"
                        "Text=abc\r\n"
                        "Missing=99999999\r\n"
                        "Bare\r\n"
                        ";Semicolon=not a comment\r\n"
                        "Twice\r\n"
                        "Twice=second line\r\n"
                        "[ second ]\r\n"
                        "key=second value\n");
    const platform::ProfileFile p(path.c_str());
    struct Case {
        const char* section;
        const char* key;
        int found;
        const char* text;
    } cases[] = {
        {"First", "Spaced", 1, "value with blanks"},
        {"FIRST", "spaced", 1, "value with blanks"},  // names compared without case
        {"First", "Quoted", 1, "in quotes"},
        {"First", "Single", 1, "single"},
        {"First", "Empty", 1, ""},
        {"First", "Missing", 0, "unchanged"},         // the sentinel counts as missing
        {"First", "Absent", 0, "unchanged"},
        {"First", "Bare", 0, "unchanged"},            // a key line without "=" reads as missing
        {"First", ";Semicolon", 1, "not a comment"},  // ";" starts an ordinary key
        {"First", "Twice", 0, "unchanged"},           // the first line of a name wins
        {"Second", "KEY", 1, "second value"},         // blanks around the section name
        {"Third", "key", 0, "unchanged"},
    };
    for (const Case& c : cases) {
        char target[kIniPathCapacity] = "unchanged";
        EXPECT_EQ(ReadIniString(c.section, c.key, target, p), c.found) << c.section << "/" << c.key;
        EXPECT_STREQ(target, c.text) << c.section << "/" << c.key;
    }

    int number = 7;
    EXPECT_EQ(ReadIniInt("First", "Number", &number, p), 1);
    EXPECT_EQ(number, 42);
    number = 7;
    EXPECT_EQ(ReadIniInt("First", "Text", &number, p), 1);  // present but not a number
    EXPECT_EQ(number, 7);
    EXPECT_EQ(ReadIniInt("First", "Empty", &number, p), 1);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(ReadIniInt("First", "Missing", &number, p), 0);
    double real = 0.25;
    EXPECT_EQ(ReadIniDouble("First", "Real", &real, p), 1);
    EXPECT_DOUBLE_EQ(real, 1.5);
    real = 0.25;
    EXPECT_EQ(ReadIniDouble("First", "Text", &real, p), 1);
    EXPECT_DOUBLE_EQ(real, 0.25);
}

TEST(IniFile, WritesReplaceInPlaceAndAppendNewKeysToTheirSection) {
    TempFolder folder;
    const std::string path = folder.File("write.ini");
    WriteFileText(path, Lines({"[A]", "one=1", "two=2", "[B]", "three=3"}));
    platform::ProfileFile file(path.c_str());
    WriteIniInt("a", "TWO", 22, file);
    WriteIniInt("A", "four", 4, file);
    WriteIniDouble("B", "five", 1.23456, file);
    WriteIniString("C", "six", "text", file);
    ASSERT_TRUE(file.Commit());
    const std::string text = ReadFileText(path);
    EXPECT_NE(text.find("[A]\r\none=1\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("=22\r\nfour=4\r\n[B]\r\nthree=3\r\nfive=1.235\r\n[C]\r\nsix=text\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("two=2\r"), std::string::npos) << text;
}

TEST(IniFile, WritesGiveBareAndSemicolonLinesTheirValues) {
    TempFolder folder;
    const std::string path = folder.File("bare.ini");
    WriteFileText(path, Lines({"[A]", "Bare", ";Semi=1", "[B]", "x=1"}));
    platform::ProfileFile file(path.c_str());
    WriteIniInt("A", "bare", 5, file);
    WriteIniInt("A", ";semi", 6, file);
    ASSERT_TRUE(file.Commit());
    const platform::ProfileFile again(path.c_str());
    int bare = 0, semi = 0;
    EXPECT_EQ(ReadIniInt("A", "Bare", &bare, again), 1);
    EXPECT_EQ(ReadIniInt("A", ";Semi", &semi, again), 1);
    EXPECT_EQ(bare, 5);
    EXPECT_EQ(semi, 6);
    // Each replaced its own line: one line of either name.
    std::string text = ReadFileText(path);
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const char* name : {"bare", ";semi"}) {
        const auto first = text.find(name);
        EXPECT_NE(first, std::string::npos) << name << " in " << text;
        EXPECT_EQ(text.find(name, first + 1), std::string::npos) << name << " twice in " << text;
    }
}

TEST(IniFile, DoublesAreWrittenWithThreeDecimals) {
    TempFolder folder;
    const std::string path = folder.File("doubles.ini");
    const struct {
        double value;
        const char* text;
    } cases[] = {{0.7, "0.700"}, {1.469, "1.469"}, {1.23456, "1.235"}, {-0.02, "-0.020"}, {12345.6, "12345.600"}};
    for (const auto& c : cases) {
        platform::ProfileFile file(path.c_str());
        WriteIniDouble("IP", "Value", c.value, file);
        ASSERT_TRUE(file.Commit());
        char text[kIniPathCapacity] = {};
        ReadIniString("IP", "Value", text, platform::ProfileFile(path.c_str()));
        EXPECT_STREQ(text, c.text);
    }
}

TEST(IniFile, QualityIsAPlainProfileIntegerWithoutSentinel) {
    TempFolder folder;
    CQualityIni quality;
    ASSERT_TRUE(quality.Bind(folder.Path().c_str(), "TWain.ini"));
    EXPECT_EQ(quality.quality, 65);  // no file: the default
    WriteFileText(folder.File("TWain.ini"), Lines({"[IP]", "JPEG=abc"}));
    quality.Load(quality.Path());
    EXPECT_EQ(quality.quality, 0);
    WriteFileText(folder.File("TWain.ini"), Lines({"[IP]", "JPEG=99999999"}));
    quality.Load(quality.Path());
    EXPECT_EQ(quality.quality, 99999999);
    quality.quality = 42;
    quality.Save(quality.Path());
    EXPECT_EQ(ReadFileText(folder.File("TWain.ini")), Lines({"[IP]", "JPEG=42"}));

    // The same line in a set's file keeps the set's default.
    WriteFileText(folder.File("TWain01.ini"), Lines({"[IP]", "JPEG=abc", "VEXAOnly=0"}));
    CStageParams stage;
    stage.VEXAOnly = 5;
    stage.Load(folder.File("TWain01.ini").c_str());
    EXPECT_EQ(stage.JPEG, 80);
    EXPECT_EQ(stage.VEXAOnly, 1);
}

TEST(IniFile, RecordsLoadTheirKeysAndKeepDefaultsForMissingOnes) {
    TempFolder folder;
    const std::string path = folder.File("TWain02.ini");
    WriteFileText(path, Lines({"[IPBefore]", "OPBefore=21", "Gamma=0.45", "AL_Limit_R=99999999",
                               "[IPAfter]", "CM_32=-0.5", "[IPVEXA]", "OPVEXA=", "UnsharpMask12=-7",
                               "2LevelThreshold=77", "TwoUM_33=9", "Gamma=1.1"}));
    CStageParams stage;
    CLetterParams letter;
    stage.Load(path.c_str());
    letter.Load(path.c_str());
    EXPECT_STREQ(stage.OPBefore, "21");
    EXPECT_DOUBLE_EQ(stage.Gamma, 0.45);
    EXPECT_EQ(stage.AL_Limit_R, 210);
    EXPECT_DOUBLE_EQ(stage.CM[7], -0.5);
    EXPECT_DOUBLE_EQ(stage.CM[0], 1.469);
    EXPECT_STREQ(letter.OPVEXA, "");  // an empty value empties the string
    EXPECT_EQ(letter.UnsharpMask[5], -7);
    EXPECT_EQ(letter.UnsharpMask[4], 40);
    EXPECT_EQ(letter.TwoLevelThreshold, 77);
    EXPECT_EQ(letter.TwoUM[8], 9);
    EXPECT_DOUBLE_EQ(letter.Gamma, 1.1);  // its own section: independent of [IPBefore] Gamma
}

TEST(IniFile, SavedSettingsFileHasTheFixedSectionAndKeyOrder) {
    TempFolder folder;
    const std::string path = folder.File("export.ini");
    CStageParams stage;
    CLetterParams letter;
    stage.Save(path.c_str());
    letter.Save(path.c_str());
    const std::string expected = Lines({
        "[IP]", "VEXAOnly=1", "JPEG=80",
        "[IPBefore]", "SaveRawData=0", "OPBefore=123", "AWB_Overflow=251", "AWB_Noise=0", "AWB_Percent_R=1",
        "AWB_LargeColor=2.500", "AWB_LargeSub=50", "AWB_ValueLimit=2.000", "AWB_Saturation=500",
        "AWB_Average=0.500", "AWB_Type=1", "AL_Overflow=251", "AL_Noise=0", "AL_Percent_L=1",
        "AL_Limit_L=30", "AL_Percent_R=1", "AL_Limit_R=210", "Gamma=0.700", "Gamma2=0.700", "GammaS=1.000",
        "GammaL=0.500", "Shift=10", "WeightR=1000", "WeightG=1000", "WeightB=1000", "GammaAfter=0.700",
        "[IPAfter]", "OPAfter=", "CE_Linear=5", "CE_Saturation=20", "CM_11=1.469", "CM_12=-0.188",
        "CM_13=-0.281", "CM_21=-0.047", "CM_22=1.234", "CM_23=-0.188", "CM_31=-0.020", "CM_32=-0.375",
        "CM_33=1.395",
        "[IPVEXA]", "OPVEXA=C", "UnsharpMask00=-2", "UnsharpMask01=-3", "UnsharpMask02=-2",
        "UnsharpMask10=-3", "UnsharpMask11=40", "UnsharpMask12=-3", "UnsharpMask20=-2", "UnsharpMask21=-3",
        "UnsharpMask22=-2", "Interpolation=1", "Blur=256", "SharpenBlurGain=80", "SharpenBlurThreshold=128",
        "Gamma=0.700", "Gamma2=0.800", "GammaSCurve=1.000", "GammaLeft=0.500", "CM_11=1.469", "CM_12=-0.188",
        "CM_13=-0.281", "CM_21=-0.047", "CM_22=1.234", "CM_23=-0.188", "CM_31=-0.020", "CM_32=-0.375",
        "CM_33=1.395", "Shift=10", "CE_Saturation=20", "AWB_Overflow=251", "AWB_Noise=0", "AWB_Percent_R=1",
        "AWB_Saturation=500", "AWB_Curve=1.000", "AWB_Left=0.500", "AWB_Average=0.750", "AWB_AvgType=0",
        "AWB_Type=1", "WeightR=1000", "WeightG=1000", "WeightB=1000", "2LevelThreshold=100", "OneUM_11=0",
        "OneUM_12=0", "OneUM_13=-3", "OneUM_21=0", "OneUM_22=60", "OneUM_23=-4", "OneUM_31=-3", "OneUM_32=-4",
        "OneUM_33=-5", "TwoUM_11=0", "TwoUM_12=0", "TwoUM_13=-3", "TwoUM_21=0", "TwoUM_22=40", "TwoUM_23=-4",
        "TwoUM_31=-3", "TwoUM_32=-4", "TwoUM_33=-5",
    });
    EXPECT_EQ(ReadFileText(path), expected);

    // And it reads back to the same record.
    CLetterParams again;
    again.Interpolation = 3;
    again.Load(path.c_str());
    EXPECT_EQ(again.Interpolation, 1);
    EXPECT_STREQ(again.OPVEXA, "C");
}

TEST(IniFile, BindRefusesPathsThatDoNotFit) {
    CStageParams stage;
    const std::string longFolder(300, 'a');
    EXPECT_FALSE(stage.Bind(longFolder.c_str(), "TWain01.ini"));
    EXPECT_STREQ(stage.Path(), "");
    EXPECT_TRUE(stage.Bind("folder", "TWain01.ini"));
}
