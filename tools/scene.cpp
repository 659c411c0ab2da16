// Test scenes. Everything is computed from the pixel position, so a scene is
// the same at every size and on every build (the wedge's cosine is the
// portable one).
#include "scene.h"

#include "portable_math.h"

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// Eight bars at 75 % level: white, yellow, cyan, green, magenta, red, blue, black.
Rgb ColourBar(int x, int width) {
    static const Rgb kBars[8] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                                 {191, 0, 191},   {191, 0, 0},   {0, 0, 191},   {16, 16, 16}};
    return kBars[std::int64_t(x) * 8 / width];
}

// Upper half a smooth ramp, lower half sixteen steps, both dark to light.
Rgb GreyRamp(int x, int y, int width, int height) {
    int v = int(std::int64_t(x) * 255 / (width > 1 ? width - 1 : 1));
    if (y >= height / 2) v = v / 16 * 17;
    const auto g = std::uint8_t(v);
    return {g, g, g};
}

// Zone plate: circles whose spacing shrinks towards the edge, so every
// spatial frequency up to the sensor's limit appears somewhere.
Rgb Wedge(int x, int y, int width, int height) {
    const double dx = x - width / 2.0;
    const double dy = y - height / 2.0;
    const double phase = 3.14159265358979 * (dx * dx + dy * dy) / (2.0 * width);
    // 18 .. 238: adding a half and truncating rounds to nearest.
    const auto g = std::uint8_t(128.0 + 110.0 * portable::Cos(phase) + 0.5);
    return {g, g, g};
}

// Six columns by four rows of patches with a neutral border.
Rgb ToneChart(int x, int y, int width, int height) {
    static const Rgb kPatches[4][6] = {
        {{194, 150, 130}, {224, 172, 150}, {141, 85, 60}, {255, 205, 178}, {120, 80, 60}, {235, 190, 160}},
        {{87, 108, 67}, {52, 86, 40}, {133, 150, 60}, {34, 60, 30}, {160, 180, 90}, {70, 120, 50}},
        {{98, 122, 157}, {135, 175, 220}, {70, 110, 180}, {180, 210, 240}, {40, 80, 150}, {110, 150, 200}},
        {{243, 243, 242}, {200, 200, 200}, {160, 160, 160}, {122, 122, 121}, {85, 85, 85}, {52, 52, 52}}};
    const int col = int(std::int64_t(x) * 6 / width);
    const int row = int(std::int64_t(y) * 4 / height);
    const int cellW = width / 6 > 0 ? width / 6 : 1;
    const int cellH = height / 4 > 0 ? height / 4 : 1;
    const int inX = x - col * cellW;
    const int inY = y - row * cellH;
    const int border = cellW / 10;
    if (inX < border || inY < border || inX >= cellW - border || inY >= cellH - border) return {30, 30, 30};
    return kPatches[row][col];
}

Rgb ScenePixel(Scene scene, int x, int y, int width, int height) {
    switch (scene) {
        case Scene::ColourBars: return ColourBar(x, width);
        case Scene::GreyRamp: return GreyRamp(x, y, width, height);
        case Scene::ResolutionWedge: return Wedge(x, y, width, height);
        case Scene::ToneChart: return ToneChart(x, y, width, height);
    }
    return {};
}

}  // namespace

const char* SceneName(Scene scene) {
    switch (scene) {
        case Scene::ColourBars: return "bars";
        case Scene::GreyRamp: return "ramp";
        case Scene::ResolutionWedge: return "wedge";
        case Scene::ToneChart: return "chart";
    }
    return "";
}

bool SceneFromName(const std::string& name, Scene& scene) {
    for (Scene s : kAllScenes) {
        if (name == SceneName(s)) {
            scene = s;
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> RenderSceneRgb(Scene scene, int width, int height) {
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    std::uint8_t* p = rgb.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = ScenePixel(scene, x, y, width, height);
            *p++ = c.r;
            *p++ = c.g;
            *p++ = c.b;
        }
    }
    return rgb;
}

std::vector<std::uint8_t> MosaicFromRgb(const std::vector<std::uint8_t>& rgb, int width, int height) {
    std::vector<std::uint8_t> raw(std::size_t(width) * height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = rgb.data() + std::size_t(height - 1 - row) * width * 3;
        for (int x = 0; x < width; ++x) {
            // even rows: red, green; odd rows: green, blue
            const int channel = (row % 2 == 0) ? (x % 2 == 0 ? 0 : 1) : (x % 2 == 0 ? 1 : 2);
            raw[std::size_t(row) * width + x] = src[3 * x + channel];
        }
    }
    return raw;
}

std::vector<std::uint8_t> RenderSceneRaw(Scene scene, int width, int height) {
    return MosaicFromRgb(RenderSceneRgb(scene, width, height), width, height);
}
