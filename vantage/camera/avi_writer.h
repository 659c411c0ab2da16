// The clip writer: a clip's frames as an uncompressed AVI file through Video
// for Windows (avifil32). One video stream "vids", scale 30 and rate 1200
// (40 samples per second), each frame one key-frame sample at position 8 * i,
// so a clip plays at 5 frames per second. Frames are 24-bit bottom-up BGR
// rows, width x height x 3 bytes, all of the first frame's geometry.
//
// The file is written under a temporary name beside the target and moved
// into place only when every frame is in: a clip that fails part-way leaves
// no partial file and leaves a file that had the target's name untouched.
// Any thread may call it; it opens and closes the file layer itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Fills `pixels` with frame `frame` (0-based); false stops the clip (a frame
// that cannot be read or developed, or the caller's cancel).
using ClipFrameSource = std::function<bool(int frame, std::vector<std::uint8_t>& pixels)>;
// Told after frame `done` - 1 is written: done 1..total.
using ClipFrameWritten = std::function<void(int done, int total)>;

// Largest frame the writer takes (a software-enlarged 640 x 480 frame).
constexpr int kMaxClipWidth = 1280;
constexpr int kMaxClipHeight = 960;

// Writes `frameCount` frames of width x height to `path` (".avi"); true when
// the whole clip is in place. False for a geometry outside 1..1280 x 1..960,
// no frames, a frame source that fails or gives a frame of another size, or
// any Video for Windows failure; nothing is left at `path` then (nor beside it).
bool WriteAviClip(const std::string& path, int width, int height, int frameCount, const ClipFrameSource& frames,
                  const ClipFrameWritten& written = nullptr);
