// Writes the fuzzers' seed corpus: small well-formed inputs of every kind a
// target reads, from which the fuzzer mutates.
//   fuzz_seeds FOLDER   (makes FOLDER/bmp, FOLDER/settings, FOLDER/frame_geometry, FOLDER/dib_import)
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_bytes.h"
#include "dib_bytes.h"
#include "fuzz_files.h"
#include "letter_params.h"
#include "platform/platform.h"
#include "stage_params.h"

namespace {

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteWhole(path, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> Stored(int width, int height, int bits) {
    const std::size_t row = (std::size_t(width) * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> pixels(row * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 37);
    return pixels;
}

void BmpSeeds(const std::string& folder) {
    int n = 0;
    for (int bits : {1, 4, 8, 24})
        for (std::uint32_t info : {40u, 108u, 124u})
            for (int height : {3, -3}) {
                BmpFields f;
                f.infoBytes = info;
                f.width = 5;
                f.height = height;
                f.bits = std::uint16_t(bits);
                if (bits != 24)
                    for (int i = 0; i < (1 << bits); ++i)
                        f.palette.insert(f.palette.end(), {std::uint8_t(i), std::uint8_t(i * 3),
                                                           std::uint8_t(255 - i), 0});
                f.pixels = Stored(5, 3, bits);
                Write(folder + "/seed" + std::to_string(n++) + ".bmp", BuildBmp(f));
            }
}

// A whole settings file as the tuning dialog exports it, with the strings given.
void SettingsSeed(const std::string& path, const char* letters, const char* before, const char* after,
                  bool saveRaw) {
    CStageParams stage;
    CLetterParams letter;
    std::snprintf(letter.OPVEXA, sizeof letter.OPVEXA, "%s", letters);
    std::snprintf(stage.OPBefore, sizeof stage.OPBefore, "%s", before);
    std::snprintf(stage.OPAfter, sizeof stage.OPAfter, "%s", after);
    stage.SaveRawData = saveRaw;
    std::remove(path.c_str());
    stage.Save(path.c_str());
    letter.Save(path.c_str());
}

void SettingsSeeds(const std::string& folder) {
    int n = 0;
    auto next = [&] { return folder + "/seed" + std::to_string(n++) + ".ini"; };
    for (char c = 'A'; c <= 'N'; ++c) {
        const char letters[] = {c, '\0'};
        SettingsSeed(next(), letters, "", "", false);
    }
    SettingsSeed(next(), "CBDM", "123456", "123", true);
    SettingsSeed(next(), "NCEFGHIJKL", "654321", "321", false);
    SettingsSeed(next(), "ANNB", "1", "1", true);
    // Values far outside their ranges.
    const std::string path = next();
    SettingsSeed(path, "BDHIM", "123456", "123", false);
    platform::ProfileFile file(path.c_str());
    const char* hostile[][3] = {{"IPBefore", "Gamma", "-1e308"},      {"IPBefore", "Shift", "-2147483648"},
                                {"IPBefore", "AWB_Percent_R", "5000"}, {"IPVEXA", "Blur", "99999"},
                                {"IPVEXA", "Gamma2", "nan"},           {"IPAfter", "CM_11", "1e30"},
                                {"IPVEXA", "SharpenBlurGain", "-7"},   {"IPVEXA", "Interpolation", "9"}};
    for (const auto& h : hostile) file.WriteText(h[0], h[1], h[2]);
    file.Commit();
}

void GeometrySeeds(const std::string& folder) {
    const struct {
        std::uint64_t bytes;
        const char* size;
    } seeds[] = {{307200, ""}, {76928, ""}, {76800, "320x240"}, {16, "4x4"}, {144, "4x4"}, {5, "1x5"}};
    int n = 0;
    for (const auto& s : seeds) {
        std::vector<std::uint8_t> bytes(8);
        for (int i = 0; i < 8; ++i) bytes[i] = std::uint8_t(s.bytes >> (8 * i));
        bytes.insert(bytes.end(), s.size, s.size + std::strlen(s.size));
        Write(folder + "/seed" + std::to_string(n++), bytes);
    }
}

// Packed DIBs as data sources hand them over: 24, 8 (short table), 16 with
// masks, 32 bits, one top-down.
void DibSeeds(const std::string& folder) {
    DibFields rgb;
    Write(folder + "/seed0", DibBlock(rgb, std::vector<std::uint8_t>(16, 0x40)));
    DibFields indexed;
    indexed.width = 3, indexed.bits = 8, indexed.colorsUsed = 2;
    Write(folder + "/seed1", DibBlock(indexed, {1, 2, 3, 0, 4, 5, 6, 0, 0, 1, 0, 0, 1, 1, 0, 0}));
    DibFields masked;
    masked.width = 1, masked.height = 1, masked.bits = 16, masked.compression = 3;
    Write(folder + "/seed2", DibBlock(masked, {0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0, 0xE1, 0xFF, 0, 0}));
    DibFields wide;
    wide.bits = 32, wide.height = -2;
    Write(folder + "/seed3", DibBlock(wide, std::vector<std::uint8_t>(16, 0x80)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string root = argv[1];
    for (const char* kind : {"", "/bmp", "/settings", "/frame_geometry", "/dib_import"})
        mkdir((root + kind).c_str(), 0755);
    BmpSeeds(root + "/bmp");
    SettingsSeeds(root + "/settings");
    GeometrySeeds(root + "/frame_geometry");
    DibSeeds(root + "/dib_import");
    return 0;
}
