// Live video of the simulated camera: a moving colour-bar pattern drawn into
// the caller's preview window (at (1, 1), inside a one-pixel border) by a
// timer of that window's thread, at the current live-video size. The window's
// thread must run a message loop.
#pragma once

#include <windows.h>

#include <cstdint>

namespace simcam {

// Starts drawing into area at width x height; false when area is no window
// of the calling thread or live video already runs.
bool StartLivePreview(HWND area, int width, int height);
// Stops drawing; the timer ends at once on the window's own thread, else at
// its next tick.
void StopLivePreview();
void SetLivePreviewSize(int width, int height);
bool LivePreviewRunning();
// The window live video draws into, null when it is off.
HWND LivePreviewWindow();
// Pictures drawn since live video last started.
std::uint32_t LivePreviewFramesDrawn();

}  // namespace simcam
