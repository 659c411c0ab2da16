// Draws Pictor's tool bar bitmap: three 16 x 15 images side by side (Acquire:
// a camera; Save As: a disk; About: a question mark) on the button face grey,
// written as a 24-bit BMP. A host program, run by the build.
//   make_toolbar OUTPUT.bmp
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kImage = 16, kHeight = 15, kImages = 3, kWidth = kImage * kImages;

struct Rgb {
    std::uint8_t r, g, b;
};

// One row of characters per pixel row: '.' face, 'k' black, 'w' white, 'b' blue, 'g' grey, 'y' yellow.
const char* const kArt[kHeight] = {
    "................"  "................"  "................",
    "................"  ".kkkkkkkkkkkkk.."  ".....kkkkk......",
    "......kkkk......"  ".kbbwwwwwwwwbk.."  "....kk...kk.....",
    ".kkkkkggggkkkkk."  ".kbbwwwwwwwwbk.."  "...kk.....kk....",
    ".kgggggggggggyk."  ".kbbwwwwwwwwbk.."  "...kk.....kk....",
    ".kggggkkkkgggggk"  ".kbbwwwwwwwwbk.."  "..........kk....",
    ".kgggkbbbbkgggk."  ".kbbbbbbbbbbbk.."  ".........kk.....",
    ".kggkbbwbbbkggk."  ".kbbbbbbbbbbbk.."  "........kk......",
    ".kggkbbbbbbkggk."  ".kbbgggggggbbk.."  ".......kk.......",
    ".kggkbbbbbbkggk."  ".kbbgkkggggbbk.."  ".......kk.......",
    ".kgggkbbbbkgggk."  ".kbbgkkggggbbk.."  "................",
    ".kggggkkkkggggk."  ".kbbgkkggggbbk.."  ".......kk.......",
    ".kkkkkkkkkkkkkk."  "..kkkkkkkkkkkk.."  ".......kk.......",
    "................"  "................"  "................",
    "................"  "................"  "................",
};

Rgb Colour(char c) {
    switch (c) {
    case 'k': return {0, 0, 0};
    case 'w': return {255, 255, 255};
    case 'b': return {0, 0, 160};
    case 'g': return {128, 128, 128};
    case 'y': return {255, 255, 0};
    default: return {192, 192, 192};
    }
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_toolbar OUTPUT.bmp\n");
        return 2;
    }
    const std::uint32_t row = (kWidth * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> out = {'B', 'M'};
    Put32(out, 54 + row * kHeight);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, kWidth);
    Put32(out, kHeight);
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb c = Colour(kArt[y][x]);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = kWidth * 3; pad < row; ++pad) out.push_back(0);
    }
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) return 1;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
