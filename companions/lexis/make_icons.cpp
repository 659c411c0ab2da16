// Draws the button icons of Lexis.DLL and writes them as .ico files: one
// 32 × 32 image per file, 32-bit colour with alpha plus the AND mask.
// Shapes are filled with 4 × 4 supersampling for smooth edges. A host
// program, run by the build.
//   make_icons OUTPUT_FOLDER    writes icon11.ico ... icon23.ico
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSamples = 4;  // per pixel and axis

struct Rgba {
    double r, g, b, a;
};

struct Canvas {
    Rgba px[kSize][kSize] = {};

    // Paints `colour` where `inside` holds, weighted by the covered fraction.
    void Fill(const std::function<bool(double, double)>& inside, Rgba colour) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
                if (hits == 0) continue;
                const double a = colour.a * hits / (kSamples * kSamples);
                Rgba& d = px[y][x];
                const double outA = a + d.a * (1 - a);
                d.r = (colour.r * a + d.r * d.a * (1 - a)) / outA;
                d.g = (colour.g * a + d.g * d.a * (1 - a)) / outA;
                d.b = (colour.b * a + d.b * d.a * (1 - a)) / outA;
                d.a = outA;
            }
    }
};

// Shapes, in pixel coordinates (y down).
auto Rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
auto Disc(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
auto Ring(double cx, double cy, double r0, double r1) {
    return [=](double x, double y) {
        const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d >= r0 * r0 && d <= r1 * r1;
    };
}
// Part of a ring between two angles (degrees, counter-clockwise from the right).
auto Arc(double cx, double cy, double r0, double r1, double from, double to) {
    return [=](double x, double y) {
        const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d < r0 * r0 || d > r1 * r1) return false;
        double angle = std::atan2(cy - y, x - cx) * 180.0 / 3.14159265358979;
        if (angle < 0) angle += 360;
        return angle >= from && angle <= to;
    };
}
// A line of the given width between two points.
auto Line(double x0, double y0, double x1, double y1, double width) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
        t = t < 0 ? 0 : t > 1 ? 1 : t;
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}
auto Polygon(std::vector<std::pair<double, double>> points) {
    return [=](double x, double y) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
}

const Rgba kOutline = {0.20, 0.22, 0.25, 1};
const Rgba kWhite = {1, 1, 1, 1};
const Rgba kPaper = {0.97, 0.97, 0.93, 1};
const Rgba kGreen = {0.13, 0.60, 0.22, 1};
const Rgba kBlue = {0.15, 0.38, 0.80, 1};
const Rgba kRed = {0.82, 0.16, 0.14, 1};
const Rgba kGrey = {0.55, 0.57, 0.60, 1};
const Rgba kDarkBlue = {0.12, 0.18, 0.38, 1};
const Rgba kAmber = {0.95, 0.68, 0.10, 1};

void OutlinedRect(Canvas& c, double x0, double y0, double x1, double y1, Rgba face) {
    c.Fill(Rect(x0, y0, x1, y1), kOutline);
    c.Fill(Rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5), face);
}

void CheckBox(Canvas& c, double x, double y, bool ticked) {
    OutlinedRect(c, x, y, x + 12, y + 12, kWhite);
    if (ticked) {
        c.Fill(Line(x + 2.5, y + 6.5, x + 5, y + 9.5, 2.4), kGreen);
        c.Fill(Line(x + 5, y + 9.5, x + 10, y + 2.5, 2.4), kGreen);
    }
}

void Download(Canvas& c) {  // arrow down into a tray
    c.Fill(Rect(3, 21, 29, 29), kOutline);
    c.Fill(Rect(5.5, 21, 26.5, 26.5), kGrey);
    c.Fill(Rect(12, 2, 20, 13), kGreen);
    c.Fill(Polygon({{6, 12}, {26, 12}, {16, 23}}), kGreen);
}

void Transfer(Canvas& c) {  // arrow into a sheet of paper
    c.Fill(Polygon({{14, 3}, {24, 3}, {29, 8}, {29, 29}, {14, 29}}), kOutline);
    c.Fill(Polygon({{15.5, 4.5}, {23.5, 4.5}, {27.5, 8.5}, {27.5, 27.5}, {15.5, 27.5}}), kPaper);
    for (int i = 0; i < 4; ++i) c.Fill(Rect(18, 12 + 4 * i, 26, 13.5 + 4 * i), kGrey);
    c.Fill(Rect(2, 13, 12, 19), kBlue);
    c.Fill(Polygon({{10, 8}, {10, 24}, {19, 16}}), kBlue);
}

void SelectAll(Canvas& c) {
    for (int i = 0; i < 4; ++i) CheckBox(c, 3 + 14 * (i % 2), 3 + 14 * (i / 2), true);
}

void ClearAll(Canvas& c) {
    for (int i = 0; i < 4; ++i) CheckBox(c, 3 + 14 * (i % 2), 3 + 14 * (i / 2), false);
}

void DeleteAll(Canvas& c) {  // waste bin
    c.Fill(Rect(12, 2, 20, 6), kOutline);
    c.Fill(Rect(5, 5, 27, 9), kOutline);
    c.Fill(Polygon({{7, 10}, {25, 10}, {23, 30}, {9, 30}}), kOutline);
    c.Fill(Polygon({{8.5, 11.5}, {23.5, 11.5}, {21.7, 28.5}, {10.3, 28.5}}), kGrey);
    for (int i = 0; i < 3; ++i) c.Fill(Line(12 + 4 * i, 14, 12.5 + 3.5 * i, 26, 1.6), kOutline);
}

void Video(Canvas& c) {  // film camera
    c.Fill(Ring(8, 8, 2, 5), kOutline);
    c.Fill(Ring(17, 8, 2, 5), kOutline);
    c.Fill(Rect(2, 13, 22, 27), kDarkBlue);
    c.Fill(Polygon({{21, 20}, {30, 13}, {30, 27}}), kDarkBlue);
    c.Fill(Disc(7, 18, 2), kRed);
}

void Options(Canvas& c) {  // three sliders
    const double knobs[3] = {10, 22, 15};
    for (int i = 0; i < 3; ++i) {
        const double y = 7 + 9 * i;
        c.Fill(Rect(3, y - 1.5, 29, y + 1.5), kGrey);
        c.Fill(Disc(knobs[i], y, 4), kOutline);
        c.Fill(Disc(knobs[i], y, 2.6), kAmber);
    }
}

void Refresh(Canvas& c) {  // circular arrow
    c.Fill(Arc(16, 16, 8, 12, 40, 340), kGreen);
    c.Fill(Polygon({{20, 1}, {30, 9}, {18, 13}}), kGreen);
}

void Information(Canvas& c) {
    c.Fill(Disc(16, 16, 14), kBlue);
    c.Fill(Disc(16, 9, 2.5), kWhite);
    c.Fill(Rect(13.5, 13.5, 18.5, 25), kWhite);
}

void Close(Canvas& c) {  // white cross on red
    c.Fill(Rect(3, 3, 29, 29), kRed);
    c.Fill(Line(9, 9, 23, 23, 4), kWhite);
    c.Fill(Line(23, 9, 9, 23, 4), kWhite);
}

void Capture(Canvas& c) {  // shutter release: red dot in a ring
    c.Fill(Disc(16, 16, 14), kOutline);
    c.Fill(Disc(16, 16, 11.5), kWhite);
    c.Fill(Disc(16, 16, 8), kRed);
}

void Size(Canvas& c) {  // small frame and large frame
    OutlinedRect(c, 2, 8, 30, 28, kPaper);
    c.Fill(Rect(5, 15, 15, 25), kBlue);
    c.Fill(Line(17, 21, 26, 12, 2.2), kOutline);
    c.Fill(Polygon({{21, 11}, {27, 11}, {27, 17}}), kOutline);
}

void WriteLe(std::FILE* f, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc(int((value >> (8 * i)) & 0xFF), f);
}

bool WriteIcon(const Canvas& c, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::uint32_t maskRow = 4;  // 32 bits of mask, already a multiple of 4 bytes
    const std::uint32_t imageBytes = 40 + kSize * kSize * 4 + kSize * maskRow;
    WriteLe(f, 0, 2);  // icon directory: reserved, type 1, one image
    WriteLe(f, 1, 2);
    WriteLe(f, 1, 2);
    std::fputc(kSize, f);  // directory entry
    std::fputc(kSize, f);
    std::fputc(0, f);
    std::fputc(0, f);
    WriteLe(f, 1, 2);
    WriteLe(f, 32, 2);
    WriteLe(f, imageBytes, 4);
    WriteLe(f, 6 + 16, 4);
    WriteLe(f, 40, 4);  // BITMAPINFOHEADER: height counts both masks
    WriteLe(f, kSize, 4);
    WriteLe(f, 2 * kSize, 4);
    WriteLe(f, 1, 2);
    WriteLe(f, 32, 2);
    for (int i = 0; i < 6; ++i) WriteLe(f, 0, 4);
    for (int y = kSize - 1; y >= 0; --y)  // rows bottom-up, blue green red alpha
        for (int x = 0; x < kSize; ++x) {
            const Rgba& p = c.px[y][x];
            std::fputc(int(std::lround(p.b * 255)), f);
            std::fputc(int(std::lround(p.g * 255)), f);
            std::fputc(int(std::lround(p.r * 255)), f);
            std::fputc(int(std::lround(p.a * 255)), f);
        }
    for (int y = kSize - 1; y >= 0; --y) {  // AND mask: 1 = transparent
        std::uint32_t bits = 0;
        for (int x = 0; x < kSize; ++x)
            if (c.px[y][x].a < 0.5) bits |= 0x80000000u >> x;
        for (int i = 3; i >= 0; --i) std::fputc(int((bits >> (8 * i)) & 0xFF), f);
    }
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const std::pair<int, void (*)(Canvas&)> icons[] = {
        {11, Download}, {12, Transfer},    {13, SelectAll}, {14, ClearAll}, {15, DeleteAll},
        {16, Video},    {17, Options},     {18, Refresh},   {19, Information}, {20, Close},
        {21, Capture},  {22, Size},        {23, Close},
    };
    for (const auto& [id, draw] : icons) {
        Canvas canvas;
        draw(canvas);
        const std::string path = std::string(argv[1]) + "/icon" + std::to_string(id) + ".ico";
        if (!WriteIcon(canvas, path)) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
