// Live video of the simulated camera; see live_preview.h. The pattern is the
// colour-bar scene, moved left a few columns per tick and drawn as a
// top-down 24-bit DIB. State shared with the camera operations (window,
// size, picture count) is atomic: they may run on another thread.
#include "live_preview.h"

#include <atomic>
#include <cstring>
#include <new>
#include <vector>

#include "scene.h"

namespace simcam {

namespace {

constexpr UINT_PTR kTimerId = 0x5C01;
constexpr UINT kTickMilliseconds = 100;
constexpr std::uint32_t kStepColumns = 4;

struct LivePreview {
    std::atomic<HWND> window{nullptr};
    std::atomic<std::uint32_t> size{0};  // width << 16 | height
    std::atomic<std::uint32_t> frames{0};
    // Used by the timer's thread only.
    int patternWidth = 0;
    int patternHeight = 0;
    std::vector<std::uint8_t> pattern;  // blue, green, red; top row first; DIB row stride
    std::vector<std::uint8_t> picture;
};

LivePreview gLivePreview;

int Stride(int width) { return (width * 3 + 3) & ~3; }

void BuildPattern(int width, int height) {
    const std::vector<std::uint8_t> rgb = RenderSceneRgb(Scene::ColourBars, width, height);
    const int stride = Stride(width);
    gLivePreview.pattern.assign(std::size_t(stride) * height, 0);
    gLivePreview.picture.assign(gLivePreview.pattern.size(), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* src = rgb.data() + (std::size_t(y) * width + x) * 3;
            std::uint8_t* dst = gLivePreview.pattern.data() + std::size_t(y) * stride + x * 3;
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    gLivePreview.patternWidth = width;
    gLivePreview.patternHeight = height;
}

void CALLBACK DrawTick(HWND area, UINT, UINT_PTR id, DWORD) {
    // Stopped from another thread: the timer can only end here.
    if (gLivePreview.window.load() != area) {
        KillTimer(area, id);
        return;
    }
    const std::uint32_t size = gLivePreview.size.load();
    const int width = int(size >> 16);
    const int height = int(size & 0xFFFF);
    if (width <= 0 || height <= 0) return;
    if (width != gLivePreview.patternWidth || height != gLivePreview.patternHeight) {
        try {
            BuildPattern(width, height);
        } catch (const std::bad_alloc&) {
            gLivePreview.patternWidth = 0;
            return;
        }
    }
    const int stride = Stride(width);
    const std::size_t shift = std::size_t(gLivePreview.frames.load() * kStepColumns % std::uint32_t(width)) * 3;
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = gLivePreview.pattern.data() + std::size_t(y) * stride;
        std::uint8_t* dst = gLivePreview.picture.data() + std::size_t(y) * stride;
        std::memcpy(dst, src + shift, rowBytes - shift);
        std::memcpy(dst + rowBytes - shift, src, shift);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    if (HDC dc = GetDC(area)) {
        SetDIBitsToDevice(dc, 1, 1, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                          gLivePreview.picture.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(area, dc);
    }
    ++gLivePreview.frames;
}

bool OwnedByThisThread(HWND window) {
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

bool StartLivePreview(HWND area, int width, int height) {
    if (gLivePreview.window.load() || !area || !IsWindow(area) || !OwnedByThisThread(area)) return false;
    SetLivePreviewSize(width, height);
    gLivePreview.frames = 0;
    gLivePreview.window = area;
    if (!SetTimer(area, kTimerId, kTickMilliseconds, DrawTick)) {
        gLivePreview.window = nullptr;
        return false;
    }
    DrawTick(area, WM_TIMER, kTimerId, 0);
    return true;
}

void StopLivePreview() {
    const HWND area = gLivePreview.window.exchange(nullptr);
    if (area && IsWindow(area) && OwnedByThisThread(area)) KillTimer(area, kTimerId);
}

void SetLivePreviewSize(int width, int height) {
    gLivePreview.size = (std::uint32_t(width & 0xFFFF) << 16) | std::uint32_t(height & 0xFFFF);
}

bool LivePreviewRunning() { return gLivePreview.window.load() != nullptr; }

HWND LivePreviewWindow() { return gLivePreview.window.load(); }

std::uint32_t LivePreviewFramesDrawn() { return gLivePreview.frames.load(); }

}  // namespace simcam
