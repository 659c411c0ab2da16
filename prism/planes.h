// Process-wide working images of the development pipeline.
//
// All buffers are fixed and preallocated for the largest frame (640 x 480)
// and one Digital Expand of it (1280 x 960), so a conversion allocates
// nothing. RGB data is three bytes per pixel in the order blue, green, red,
// rows back to back with no padding. Row 0 of the raw plane is the frame's
// bottom row; row 0 of the RGB plane is made from row 0 of the raw plane.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kMaxRawWidth = 1024;        // widest frame a stage row buffer accepts
constexpr int kMaxRawPixels = 640 * 480;  // raw plane capacity
constexpr int kMaxRgbWidth = 2 * kMaxRawWidth;
constexpr int kMaxRgbPixels = 1280 * 960;  // one Digital Expand of a full frame
constexpr std::size_t kRawPlaneBytes = kMaxRawPixels;
constexpr std::size_t kRgbPlaneBytes = std::size_t(kMaxRgbPixels) * 3;

extern std::uint8_t gRawPlane[kRawPlaneBytes];
extern std::uint8_t gRgbPlane[kRgbPlaneBytes];
// Any stage may fill it within one call; nothing in it survives between stages.
extern std::uint8_t gScratchRgb[kRgbPlaneBytes];
// One weight 0..255 per pixel and channel (255 flat, 0 strong edge), left by
// SmartBlur and read by the two-level unsharp mask.
extern std::uint8_t gEdgeMap[kRgbPlaneBytes];

extern int gWorkWidth;
extern int gWorkHeight;
