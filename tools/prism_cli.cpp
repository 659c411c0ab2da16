// prism: develops raw camera frames from the command line through the
// library's own exports and settings files, converts BMP to JPEG, writes
// generated test scenes, and shows or changes a setting set.
//
//   prism develop [--set N] [--flip F] [--enlarge] [--size WxH] [--settings DIR]
//                 [--format jpg|bmp] INPUT... -o OUTPUT
//   prism bmp2jpg IN.bmp OUT.jpg
//   prism scene NAME OUT.raw [--size WxH]
//   prism settings [--set N] [--settings DIR] [SECTION.KEY=VALUE... | --export FILE | --import FILE]
//
// Bad input gives one line on standard error naming the file and the problem,
// exit status 2, and no partial output file.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "cli_support.h"
#include "jpeg_file.h"
#include "library.h"
#include "pipeline.h"
#include "planes.h"
#include "platform/platform.h"
#include "raw_input.h"
#include "scene.h"
#include "settings_command.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: prism develop [--set N] [--flip F] [--enlarge] [--size WxH] [--settings DIR]\n"
    "                     [--format jpg|bmp] INPUT... -o OUTPUT\n"
    "       prism bmp2jpg IN.bmp OUT.jpg\n"
    "       prism scene bars|ramp|wedge|chart OUT.raw [--size WxH]\n"
    "       prism settings [--set N] [--settings DIR]\n"
    "                      [SECTION.KEY=VALUE... | --export FILE | --import FILE]\n";

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Case-insensitive extension of a path, with its dot.
std::string ExtensionOf(const std::string& path) { return Lower(fs::path(path).extension().string()); }

std::vector<std::uint8_t> ReadInput(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) Fail(path, "no such file");
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path, "cannot be read");
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) Fail(path, "cannot be read");
    return data;
}

struct DevelopOptions {
    int set = 0;
    int flip = 0;
    bool enlarge = false;
    bool forceSize = false;
    FrameSize size;
    std::string settings;
    std::string format;  // "", ".jpg" or ".bmp"
    std::vector<std::string> inputs;
    std::string output;
};

DevelopOptions ParseDevelop(const std::vector<std::string>& args) {
    DevelopOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--set") {
            o.set = ParseInt(a, TakeValue(args, i));
            if (o.set < 0 || o.set >= kSetCount) Fail(a, "set must be 0, 1 or 2");
        } else if (a == "--flip") {
            o.flip = ParseInt(a, TakeValue(args, i));
        } else if (a == "--enlarge") {
            o.enlarge = true;
        } else if (a == "--size") {
            const std::string text = TakeValue(args, i);
            if (!ParseFrameSize(text, o.size)) Fail(a, "expects WIDTHxHEIGHT, got '" + text + "'");
            o.forceSize = true;
        } else if (a == "--settings") {
            o.settings = TakeValue(args, i);
        } else if (a == "--format") {
            o.format = "." + Lower(TakeValue(args, i));
            if (o.format != ".jpg" && o.format != ".bmp") Fail(a, "format must be jpg or bmp");
        } else if (a == "-o") {
            o.output = TakeValue(args, i);
        } else if (a.size() > 1 && a[0] == '-') {
            Fail(a, "unknown option");
        } else {
            o.inputs.push_back(a);
        }
    }
    if (o.inputs.empty()) Fail("develop", "no input files");
    if (o.output.empty()) Fail("develop", "no output given (-o OUTPUT)");
    return o;
}

// Where one input's result goes, and in which format.
std::string OutputPathFor(const DevelopOptions& o, const std::string& input, bool toFolder) {
    if (!toFolder) return o.output;
    const std::string extension = o.format.empty() ? ".jpg" : o.format;
    return (fs::path(o.output) / fs::path(input).stem()).string() + extension;
}

void DevelopOne(const DevelopOptions& o, const std::string& input, const std::string& output) {
    const std::string extension = ExtensionOf(output);
    if (extension != ".jpg" && extension != ".jpeg" && extension != ".bmp")
        Fail(output, "output must end in .jpg or .bmp");
    std::error_code error;
    const fs::path folder = fs::path(output).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error)) Fail(output, "its folder does not exist");
    std::vector<std::uint8_t> frame = ReadInput(input);
    FrameSize size;
    if (!FrameSizeOfFile(frame.size(), o.forceSize ? &o.size : nullptr, size))
        Fail(input, std::to_string(frame.size()) + " bytes fit no frame geometry (" +
                        std::to_string(size.width) + " x " + std::to_string(size.height) + " needs " +
                        std::to_string(std::uint64_t(size.width) * size.height) + " or " +
                        std::to_string(std::uint64_t(size.width) * size.height + kFrameRecordBytes) +
                        "; use --size)");
    const std::string frameSize = std::to_string(size.width) + " x " + std::to_string(size.height);
    if (!FrameFitsPlanes(size.width, size.height))
        Fail(input, "frame larger than 640 x 480 pixels or rows longer than 1024 (" + frameSize + ")");
    // The raw dump copies the entry record behind the pixels: always provide it.
    frame.resize(std::size_t(size.width) * size.height + kFrameRecordBytes, 0);
    const bool jpeg = extension != ".bmp";
    const int ok = jpeg ? BufToJpg(size.width, size.height, frame.data(), output.c_str(), o.flip, o.set)
                        : BufToBmp(size.width, size.height, frame.data(), output.c_str(), o.flip, o.set);
    if (ok) return;
    // The developed size: the working size in built-in mode (Digital Expand
    // doubles it), the frame's own with a converter.
    const bool builtIn = gPrism.Mode() == kModeBuiltIn;
    const int width = builtIn ? gWorkWidth : size.width;
    const int height = builtIn ? gWorkHeight : size.height;
    if (jpeg && (width > kJpegMaxSide || height > kJpegMaxSide))
        Fail(output, "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                         " is larger than a JPEG file holds (" + std::to_string(kJpegMaxSide) +
                         " pixels a side)");
    Fail(output, "could not be written");
}

int Develop(const std::vector<std::string>& args) {
    const DevelopOptions o = ParseDevelop(args);
    std::error_code error;
    if (!o.settings.empty() && !fs::is_directory(o.settings, error))
        Fail(o.settings, "settings folder does not exist");
    const std::string folder = o.settings.empty() ? platform::OwnModuleFolder() : o.settings;
    PrismStartUp(folder.c_str());
    SetSEOnOff(o.enlarge ? 1 : 0);

    const bool toFolder = o.inputs.size() > 1 || fs::is_directory(o.output, error);
    if (toFolder && !fs::is_directory(o.output, error) && !fs::create_directories(o.output, error))
        Fail(o.output, "output folder cannot be created");
    const bool progress = toFolder && isatty(fileno(stderr));
    for (std::size_t i = 0; i < o.inputs.size(); ++i) {
        if (progress)
            std::fprintf(stderr, "\rdeveloping %zu/%zu %s\033[K", i + 1, o.inputs.size(),
                         fs::path(o.inputs[i]).filename().string().c_str());
        DevelopOne(o, o.inputs[i], OutputPathFor(o, o.inputs[i], toFolder));
    }
    if (progress) std::fprintf(stderr, "\rdeveloped %zu frames into %s\033[K\n", o.inputs.size(), o.output.c_str());
    PrismShutDown();
    return 0;
}

int BmpToJpeg(const std::vector<std::string>& args) {
    if (args.size() != 2) Fail("bmp2jpg", "expects IN.bmp OUT.jpg");
    std::error_code error;
    if (!fs::is_regular_file(args[0], error)) Fail(args[0], "no such file");
    PrismStartUp(platform::OwnModuleFolder().c_str());  // the quality of TWain.ini
    if (!BmpToJpg(0, 0, args[0].c_str(), args[1].c_str(), 0, 0))
        Fail(args[0], "not a readable uncompressed 1, 4, 8 or 24-bit BMP, or " + args[1] + " not writable");
    return 0;
}

int WriteScene(const std::vector<std::string>& args) {
    FrameSize size{640, 480};
    std::vector<std::string> names;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size") {
            const std::string text = TakeValue(args, i);
            if (!ParseFrameSize(text, size)) Fail("--size", "expects WIDTHxHEIGHT, got '" + text + "'");
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            Fail(args[i], "unknown option");
        } else {
            names.push_back(args[i]);
        }
    }
    if (names.size() != 2) Fail("scene", "expects NAME OUT.raw");
    Scene scene;
    if (!SceneFromName(names[0], scene)) Fail(names[0], "unknown scene (bars, ramp, wedge, chart)");
    if (std::uint64_t(size.width) * size.height > 4096ull * 4096ull) Fail("--size", "scene too large");
    const std::vector<std::uint8_t> raw = RenderSceneRaw(scene, size.width, size.height);
    const std::string temp = names[1] + ".part";
    {
        std::ofstream out(temp, std::ios::binary);
        out.write(reinterpret_cast<const char*>(raw.data()), std::streamsize(raw.size()));
        if (!out) {
            std::remove(temp.c_str());
            Fail(names[1], "cannot be written");
        }
    }
    std::error_code error;
    fs::rename(temp, names[1], error);
    if (error) {
        std::remove(temp.c_str());
        Fail(names[1], "cannot be written");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kExitBadInput;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    try {
        if (command == "develop") return Develop(args);
        if (command == "bmp2jpg") return BmpToJpeg(args);
        if (command == "scene") return WriteScene(args);
        if (command == "settings") return SettingsCommand(args);
        Fail(command, "unknown command");
    } catch (const Failure& failure) {
        std::fprintf(stderr, "prism: %s\n", failure.message.c_str());
        if (command != "develop" && command != "bmp2jpg" && command != "scene" && command != "settings") std::fputs(kUsage, stderr);
        return kExitBadInput;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "prism: %s\n", e.what());
        return kExitBadInput;
    }
}
