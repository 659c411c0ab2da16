// Geometry of raw frame files given to the prism tool: a file of exactly
// width x height bytes, or a camera frame file / raw dump of width x height
// bytes followed by the camera's 128-byte entry record.
#pragma once

#include <cstdint>
#include <string>

constexpr std::uint64_t kFrameRecordBytes = 128;
constexpr std::uint64_t kSmallFrameFileBytes = 320 * 240 + kFrameRecordBytes;  // 76,928

struct FrameSize {
    int width = 0;
    int height = 0;
};

// Parses "WxH": two decimal numbers 1..2147483647 joined by "x", nothing
// else (no blanks or signs); false otherwise, size untouched.
bool ParseFrameSize(const std::string& text, FrameSize& size);

// The frame size that a file of fileBytes bytes holds: the forced size when
// one is given, else 320 x 240 for a file of 76,800 or 76,928 bytes and
// 640 x 480 for any other. False when the file length fits neither width x height nor
// width x height + 128 of that size.
bool FrameSizeOfFile(std::uint64_t fileBytes, const FrameSize* forced, FrameSize& size);
