// libprism.so as a program meets it: a copy loaded with dlopen from a fresh
// folder, with its settings files and the converter beside it. Nothing of
// the library's start-up is called by the test itself.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jpeg_probe.h"
#include "prism_api.h"
#include "test_files.h"

namespace {

constexpr int kW = 16, kH = 8;

std::vector<std::uint8_t> Frame(std::uint8_t first = 40) {
    std::vector<std::uint8_t> frame(std::size_t(kW) * kH + 128);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = std::uint8_t(60 + i % 97);
    frame[0] = first;
    return frame;
}

// A loaded copy of the library and its exports.
struct LoadedPrism {
    void* handle = nullptr;
    BufToFileEntry bufToBmp = nullptr;
    BufToFileEntry bufToJpg = nullptr;
    BmpToJpgEntry bmpToJpg = nullptr;

    explicit LoadedPrism(const std::string& path) {
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        bufToBmp = reinterpret_cast<BufToFileEntry>(dlsym(handle, "BufToBmp"));
        bufToJpg = reinterpret_cast<BufToFileEntry>(dlsym(handle, "BufToJpg"));
        bmpToJpg = reinterpret_cast<BmpToJpgEntry>(dlsym(handle, "BmpToJpg"));
    }
    ~LoadedPrism() { Unload(); }
    void Unload() {
        if (handle) dlclose(handle);
        handle = nullptr;
    }
    bool Usable() const { return handle && bufToBmp && bufToJpg && bmpToJpg; }
};

// The BMP's pixel bytes (behind the 54-byte headers).
std::vector<std::uint8_t> Pixels(const std::string& bmp) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(bmp, bytes) || bytes.size() < 54) return {};
    return std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end());
}

bool Loaded(const std::string& path) {
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
}

}  // namespace

// Built-in mode: every settings file beside the copy is honoured.
TEST(LibraryLoad, SettingsBesideTheCopyAreHonoured) {
    TempFolder plain, tuned;
    for (const TempFolder* f : {&plain, &tuned})
        std::filesystem::copy_file(PRISM_LIBRARY, f->File("libprism.so"));
    // No letters (no demosaicing: the picture stays black), a raw dump, and
    // the highest quality for BmpToJpg.
    WriteFileText(tuned.File("TWain01.ini"), "[IPBefore]\r\nSaveRawData=1\r\n[IPVEXA]\r\nOPVEXA=\r\n");
    WriteFileText(tuned.File("TWain.ini"), "[IP]\r\nJPEG=100\r\n");

    const std::vector<std::uint8_t> frame = Frame();
    std::vector<std::uint8_t> plainPixels, tunedPixels;
    for (const TempFolder* f : {&plain, &tuned}) {
        LoadedPrism prism(f->File("libprism.so"));
        ASSERT_TRUE(prism.Usable()) << dlerror();
        ASSERT_EQ(prism.bufToBmp(kW, kH, frame.data(), f->File("p.bmp").c_str(), 0, 0), 1);
        ASSERT_EQ(prism.bufToJpg(kW, kH, frame.data(), f->File("p.jpg").c_str(), 0, 0), 1);
        ASSERT_EQ(prism.bmpToJpg(kW, kH, f->File("p.bmp").c_str(), f->File("q.jpg").c_str(), 0, 0), 1);
        (f == &plain ? plainPixels : tunedPixels) = Pixels(f->File("p.bmp"));
    }
    ASSERT_EQ(tunedPixels.size(), std::size_t(kW) * kH * 3);
    EXPECT_EQ(tunedPixels, std::vector<std::uint8_t>(tunedPixels.size(), 0)) << "the empty letter string was ignored";
    EXPECT_NE(plainPixels, tunedPixels);
    std::vector<std::uint8_t> dump;
    EXPECT_TRUE(ReadFileBytes(tuned.File("p.bin"), dump) && dump == frame) << "no raw dump";
    EXPECT_FALSE(FileExists(plain.File("p.bin")));
    EXPECT_EQ(LuminanceTable(tuned.File("q.jpg")), std::vector<int>(64, 1)) << "TWain.ini's quality was ignored";
    EXPECT_NE(LuminanceTable(plain.File("q.jpg")), LuminanceTable(tuned.File("q.jpg")));
}

// Delegated mode: the converter beside the copy is used and released with it.
TEST(LibraryLoad, ConverterBesideTheCopyIsUsedAndReleased) {
    TempFolder folder;
    std::filesystem::copy_file(PRISM_LIBRARY, folder.File("libprism.so"));
    std::filesystem::copy_file(KILN_LIBRARY, folder.File("libkiln.so"));
    {
        LoadedPrism prism(folder.File("libprism.so"));
        ASSERT_TRUE(prism.Usable()) << dlerror();
        EXPECT_TRUE(Loaded(folder.File("libkiln.so")));
        const std::vector<std::uint8_t> frame = Frame();
        ASSERT_EQ(prism.bufToBmp(kW, kH, frame.data(), folder.File("k.bmp").c_str(), 0, 0), 1);
        const std::vector<std::uint8_t> pixels = Pixels(folder.File("k.bmp"));
        ASSERT_EQ(pixels.size(), std::size_t(kW) * kH * 3);
        for (int i = 0; i < kW * kH; ++i) {  // the test converter's picture
            ASSERT_EQ(pixels[3 * i], frame[i]) << i;
            ASSERT_EQ(pixels[3 * i + 2], 255 - frame[i]) << i;
        }
        // The converter's own result comes back, not a plain 1.
        const std::vector<std::uint8_t> seven = Frame(0xE7);
        EXPECT_EQ(prism.bufToBmp(kW, kH, seven.data(), folder.File("s.bmp").c_str(), 0, 0), 7);
    }
    EXPECT_FALSE(Loaded(folder.File("libkiln.so"))) << "the converter outlived the library";
}
