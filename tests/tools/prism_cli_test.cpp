// The prism tool run as a user runs it: results, and one clear line with
// exit status 2 and no output file for every kind of bad input.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "raw_input.h"
#include "test_files.h"

namespace {

struct Result {
    int status;
    std::string output;
};

Result RunTool(const std::string& arguments) {
    const std::string command = std::string(PRISM_TOOL) + " " + arguments + " 2>&1";
    Result r{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) r.output += buffer;
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::size_t FileSize(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    return ReadFileBytes(path, bytes) ? bytes.size() : 0;
}

}  // namespace

TEST(RawInput, FrameGeometryFromTheFileLength) {
    const FrameSize forced{100, 10};
    const struct {
        std::uint64_t bytes;
        const FrameSize* forced;
        bool ok;
        int w, h;
    } cases[] = {
        {307200, nullptr, true, 640, 480}, {307328, nullptr, true, 640, 480},
        {76928, nullptr, true, 320, 240},  {76800, nullptr, true, 320, 240},
        {1000, nullptr, false, 640, 480},  {307201, nullptr, false, 640, 480},
        {1000, &forced, true, 100, 10},    {1128, &forced, true, 100, 10},
        {76928, &forced, false, 100, 10},
    };
    for (const auto& c : cases) {
        FrameSize size;
        EXPECT_EQ(FrameSizeOfFile(c.bytes, c.forced, size), c.ok) << c.bytes;
        EXPECT_EQ(size.width, c.w) << c.bytes;
        EXPECT_EQ(size.height, c.h) << c.bytes;
    }
    FrameSize size;
    EXPECT_TRUE(ParseFrameSize("320x240", size));
    EXPECT_TRUE(ParseFrameSize("2147483647x1", size));
    EXPECT_EQ(size.width, 2147483647);
    // Numbers past 32 bits once wrapped ("4294967297x1" was 1 x 1); blanks and
    // signs were taken too.
    for (const char* bad : {"320", "320x", "x240", "0x5", "-3x4", "3x4x", "axb", "4294967297x1",
                            "2147483648x1", "99999999999x3", " 3x4", "+3x4", "3x\t4", "3x4 "})
        EXPECT_FALSE(ParseFrameSize(bad, size)) << bad;
    EXPECT_EQ(size.width, 2147483647);
}

TEST(PrismTool, DevelopsScenesIntoJpegAndBmp) {
    TempFolder f;
    ASSERT_EQ(RunTool("scene chart " + f.File("a.raw")).status, 0);
    ASSERT_EQ(RunTool("scene bars " + f.File("b.raw") + " --size 320x240").status, 0);
    EXPECT_EQ(FileSize(f.File("a.raw")), 640u * 480);
    EXPECT_EQ(FileSize(f.File("b.raw")), 320u * 240);

    Result r = RunTool("develop --settings " + f.Path() + " " + f.File("a.raw") + " -o " + f.File("a.bmp"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(FileSize(f.File("a.bmp")), 921654u);

    // A camera frame file: 320 x 240 pixels and the 128-byte record.
    std::vector<std::uint8_t> frame(76928, 90);
    WriteFileBytes(f.File("frame.tmp"), frame.data(), frame.size());
    r = RunTool("develop --settings " + f.Path() + " --enlarge " + f.File("frame.tmp") + " " + f.File("a.raw") +
            " --format bmp -o " + f.File("out"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(FileSize(f.File("out/frame.bmp")), 54u + 320 * 240 * 3);  // default "C": no N
    EXPECT_EQ(FileSize(f.File("out/a.bmp")), 921654u);

    r = RunTool("develop --settings " + f.Path() + " --set 2 --flip 3 " + f.File("b.raw") + " -o " + f.File("b.jpg"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_GT(FileSize(f.File("b.jpg")), 1000u);
    r = RunTool("bmp2jpg " + f.File("a.bmp") + " " + f.File("c.jpg"));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_GT(FileSize(f.File("c.jpg")), 1000u);
}

TEST(PrismTool, RawDumpOfAFrameWithoutRecordGetsAZeroRecord) {
    // The raw dump copies width x height + 128 bytes: the tool pads a bare frame.
    TempFolder f;
    WriteFileText(f.File("TWain01.ini"), "[IPBefore]\r\nSaveRawData=1\r\n");
    std::vector<std::uint8_t> frame(320 * 240, 77);
    WriteFileBytes(f.File("bare.raw"), frame.data(), frame.size());
    const Result r = RunTool("develop --settings " + f.Path() + " " + f.File("bare.raw") + " -o " + f.File("bare.jpg"));
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<std::uint8_t> dump;
    ASSERT_TRUE(ReadFileBytes(f.File("bare.bin"), dump));
    frame.resize(frame.size() + 128, 0);
    EXPECT_EQ(dump, frame);
}

TEST(PrismTool, BadInputGivesOneClearLineAndNoFile) {
    TempFolder f;
    std::vector<std::uint8_t> bytes(1000, 1);
    WriteFileBytes(f.File("odd.raw"), bytes.data(), bytes.size());
    WriteFileBytes(f.File("fake.bmp"), bytes.data(), bytes.size());
    RunTool("scene ramp " + f.File("ok.raw"));
    const std::string out = f.File("out.jpg");
    const struct {
        std::string arguments;
        std::string expected;
    } cases[] = {
        {"develop " + f.File("absent.raw") + " -o " + out, "absent.raw: no such file"},
        {"develop " + f.File("odd.raw") + " -o " + out, "odd.raw: 1000 bytes fit no frame geometry"},
        {"develop --size 30x30 " + f.File("odd.raw") + " -o " + out, "fit no frame geometry"},
        {"develop --size 3000x3000 " + f.File("odd.raw") + " -o " + out, "fit no frame geometry"},
        {"develop --settings " + f.File("nowhere") + " " + f.File("ok.raw") + " -o " + out,
         "nowhere: settings folder does not exist"},
        {"develop --bogus " + f.File("ok.raw") + " -o " + out, "--bogus: unknown option"},
        {"develop --set 3 " + f.File("ok.raw") + " -o " + out, "--set: set must be 0, 1 or 2"},
        {"develop --set x " + f.File("ok.raw") + " -o " + out, "--set: expects a whole number"},
        {"develop " + f.File("ok.raw") + " -o " + f.File("out.png"), "output must end in .jpg or .bmp"},
        {"develop " + f.File("ok.raw") + " -o " + f.File("no/dir/out.jpg"), "its folder does not exist"},
        {"develop " + f.File("ok.raw"), "no output given"},
        {"develop --size 1280x960 " + f.File("ok.raw") + " -o " + out, "fit no frame geometry"},
        {"bmp2jpg " + f.File("fake.bmp") + " " + out, "fake.bmp: not a readable"},
        {"bmp2jpg " + f.File("absent.bmp") + " " + out, "absent.bmp: no such file"},
        {"scene sunset " + f.File("x.raw"), "sunset: unknown scene"},
        {"frobnicate", "frobnicate: unknown command"},
    };
    for (const auto& c : cases) {
        const Result r = RunTool(c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments << "\n" << r.output;
        EXPECT_NE(r.output.find("prism: "), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.expected), std::string::npos) << c.arguments << "\n" << r.output;
        EXPECT_FALSE(FileExists(out)) << c.arguments;
        EXPECT_FALSE(FileExists(f.File("out.png")));
        EXPECT_FALSE(FileExists(f.File("x.raw")));
    }
    // A frame larger than the pipeline takes is refused with no file left.
    std::vector<std::uint8_t> large(1024 * 400, 1);
    WriteFileBytes(f.File("large.raw"), large.data(), large.size());
    const Result r = RunTool("develop --size 1024x400 " + f.File("large.raw") + " -o " + out);
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("frame larger than 640 x 480"), std::string::npos) << r.output;
    EXPECT_FALSE(FileExists(out));

    // A frame that fits the planes but develops taller than JPEG allows is
    // refused for that reason, with and without the enlargement.
    std::vector<std::uint8_t> tall(307200, 1);
    WriteFileBytes(f.File("tall.raw"), tall.data(), tall.size());
    for (const char* enlarge : {"", "--enlarge "}) {
        const Result t = RunTool(std::string("develop --size 1x307200 ") + enlarge + f.File("tall.raw") + " -o " + out);
        EXPECT_EQ(t.status, 2) << t.output;
        EXPECT_NE(t.output.find("larger than a JPEG file holds (65500 pixels a side)"), std::string::npos)
            << t.output;
        EXPECT_EQ(t.output.find("640 x 480"), std::string::npos) << t.output;
        EXPECT_FALSE(FileExists(out));
    }
}

// Started by a bare name found through PATH, the tool reads the settings
// beside itself, never those of the working folder.
TEST(PrismTool, SettingsComeFromItsOwnFolderNotTheWorkingFolder) {
    TempFolder home, work;
    std::filesystem::copy_file(PRISM_TOOL, home.File("prism"));
    WriteFileText(work.File("TWain01.ini"), "[IPVEXA]\r\nOPVEXA=\r\n");  // planted: a black picture
    ASSERT_EQ(RunTool("scene bars " + work.File("bars.raw") + " --size 320x240").status, 0);
    const std::string command = "cd '" + work.Path() + "' && PATH='" + home.Path() +
                                "' prism develop bars.raw -o out.bmp 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::uint8_t> bmp;
    ASSERT_TRUE(ReadFileBytes(work.File("out.bmp"), bmp));
    ASSERT_GT(bmp.size(), 54u);
    std::size_t lit = 0;
    for (std::size_t i = 54; i < bmp.size(); ++i) lit += bmp[i] != 0;
    EXPECT_GT(lit, bmp.size() / 2) << "the working folder's settings were used";
}

// prism settings goes through the store's Load and Save: values set on the
// command line land in the set's own file in the store's layout, the library
// develops with them, and export / import reproduce a file exactly.
TEST(PrismTool, SettingsAreShownSetExportedAndImported) {
    TempFolder a, b;
    const std::string inA = " --settings " + a.Path() + " --set 1 ";
    Result r = RunTool("settings" + inA + "IPVEXA.Gamma=1.23456 IPBefore.OPBefore=12 ipvexa.opvexa=");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string own = ReadFileText(a.File("TWain02.ini"));
    EXPECT_EQ(own.find("[IP]"), 0u) << own;
    EXPECT_LT(own.find("[IPBefore]"), own.find("[IPAfter]")) << own;
    EXPECT_LT(own.find("[IPAfter]"), own.find("[IPVEXA]")) << own;
    EXPECT_NE(own.find("Gamma=1.235", own.find("[IPVEXA]")), std::string::npos) << own;
    EXPECT_NE(own.find("Gamma=0.700", own.find("[IPBefore]")), std::string::npos) << own;

    r = RunTool("settings" + inA);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("OPBefore=12\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("OPAfter=                     (default)\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Gamma=1.235\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Gamma=0.700                  (default)\n"), std::string::npos) << r.output;

    // The empty letter string set above gives a black picture.
    ASSERT_EQ(RunTool("scene bars " + a.File("bars.raw") + " --size 320x240").status, 0);
    ASSERT_EQ(RunTool("develop" + inA + a.File("bars.raw") + " -o " + a.File("bars.bmp")).status, 0);
    std::vector<std::uint8_t> bmp;
    ASSERT_TRUE(ReadFileBytes(a.File("bars.bmp"), bmp));
    ASSERT_EQ(bmp.size(), 54u + 320 * 240 * 3);
    EXPECT_EQ(std::count(bmp.begin() + 54, bmp.end(), 0), std::ptrdiff_t(bmp.size() - 54));

    ASSERT_EQ(RunTool("settings" + inA + "--export " + a.File("out.ini")).status, 0);
    ASSERT_EQ(RunTool("settings --settings " + b.Path() + " --import " + a.File("out.ini")).status, 0);
    ASSERT_EQ(RunTool("settings --settings " + b.Path() + " --export " + b.File("again.ini")).status, 0);
    EXPECT_EQ(ReadFileText(b.File("again.ini")), ReadFileText(a.File("out.ini")));
    EXPECT_EQ(ReadFileText(b.File("TWain01.ini")), ReadFileText(a.File("out.ini")));

    // An import fills the keys its file lacks with the defaults.
    WriteFileText(b.File("part.ini"), "[IPVEXA]\r\nOPVEXA=AB\r\n");
    ASSERT_EQ(RunTool("settings --settings " + b.Path() + " --import " + b.File("part.ini")).status, 0);
    r = RunTool("settings --settings " + b.Path());
    EXPECT_NE(r.output.find("OPVEXA=AB\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("OPBefore=123                 (default)\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Gamma=0.700                  (default)\n"), std::string::npos) << r.output;
}

TEST(PrismTool, BadSettingsGiveOneClearLineAndChangeNothing) {
    TempFolder f;
    const std::string in = " --settings " + f.Path() + " ";
    ASSERT_EQ(RunTool("settings" + in + "IPVEXA.Blur=300").status, 0);
    const std::string before = ReadFileText(f.File("TWain01.ini"));
    const struct {
        std::string arguments;
        std::string expected;
    } cases[] = {
        {"IPVEXA.Blur=7 IPVEXA.Gama=1", "IPVEXA.Gama: unknown key"},
        {"IPVEXA.Blur=7 IPAfter.Gamma=1", "IPAfter.Gamma: unknown key"},
        {"IPVEXA.Blur=1.5", "IPVEXA.Blur: expects a whole number, got '1.5'"},
        {"IPVEXA.Gamma=abc", "IPVEXA.Gamma: expects a number, got 'abc'"},
        {"IPVEXA.Gamma=nan", "IPVEXA.Gamma: expects a number"},
        {"IPBefore.Shift=99999999999", "IPBefore.Shift: expects a whole number"},
        {"IP.VEXAOnly=0", "IP.VEXAOnly: is always 1"},
        {"IPVEXA.OPVEXA=" + std::string(260, 'C'), "longer than 259 characters"},
        {"Gamma=1", "Gamma=1: expects SECTION.KEY=VALUE"},
        {"--set 5", "--set: set must be 0, 1 or 2"},
        {"--import " + f.File("absent.ini"), "absent.ini: no such file"},
        {"--export " + f.File("no/dir/x.ini"), "its folder does not exist"},
        {"--export " + f.File("x.ini") + " IPVEXA.Blur=1", "prism: settings: give either assignments, --export or --import"},
    };
    for (const auto& c : cases) {
        const Result r = RunTool("settings" + in + c.arguments);
        EXPECT_EQ(r.status, 2) << c.arguments << "\n" << r.output;
        EXPECT_EQ(r.output.find("prism: "), 0u) << r.output;
        EXPECT_NE(r.output.find(c.expected), std::string::npos) << c.arguments << "\n" << r.output;
        EXPECT_EQ(ReadFileText(f.File("TWain01.ini")), before) << c.arguments;
        EXPECT_FALSE(FileExists(f.File("x.ini")));
    }
}
