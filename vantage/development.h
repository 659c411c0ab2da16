// Development of raw frames through Prism for Vantage's own use. A frame
// file (made by a refresh: the frame's bytes and its 128-byte record) is
// read back into a raw buffer of 640 x 480 + 128 bytes, its geometry taken
// from its size. BufToBmp writes the picture into the temporary development
// file (the system's temporary folder + "\__VEXA__"), from which the pixels
// (byte 54 on) or the whole packed DIB (byte 14 on) are read back and the
// file deleted. BufToJpg writes a downloaded still.
//
// Software enlarge: for a frame 640 wide developed with `enlarge`, Prism's
// flag is switched on before and off after; it is switched off after every
// development of a 640-wide frame whether it was on or not.
//
// The worker and the user-interface thread (the enlarged view) both
// develop, and Prism keeps one conversion's state process-wide: a
// development holds a process-wide lock from the call to the deletion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "camera/frame_files.h"
#include "camera/shown_picture.h"

struct RawFrame {
    std::vector<std::uint8_t> bytes;  // kRawBufferBytes, zero past the file's end
    FrameGeometry geometry = {0, 0};
};

// False when the file cannot be opened or is empty.
bool ReadRawFrame(const std::string& path, RawFrame& frame);

// width x height x 3 bytes of bottom-up BGR pixels; false when Prism wrote
// no file of that size.
bool DevelopToPixels(const std::uint8_t* raw, int width, int height, int flip, int set,
                     std::vector<std::uint8_t>& pixels);
// A frame file developed into pixels (never enlarged): how a clip's frames
// are made. False when the file cannot be read, its geometry is not
// `expected` or the development fails.
bool DevelopFrameFile(const std::string& path, FrameGeometry expected, int flip, int set,
                      std::vector<std::uint8_t>& pixels);
// The developed picture as a packed DIB: its 40-byte BITMAPINFOHEADER and
// 24-bit pixels, of the size Prism actually wrote (1280 x 960 only when the
// set's letters enlarged it). The header's image size is filled in when 0.
bool DevelopToDib(const RawFrame& frame, int flip, int set, bool enlarge, std::vector<std::uint8_t>& dib);
// A still written as JPEG to `path`; true when Prism reports success and the file is there.
bool DevelopToJpeg(const RawFrame& frame, int flip, int set, bool enlarge, const std::string& path);
// The developed picture, when Prism reports success and its file loads;
// false (picture untouched) otherwise.
bool DevelopToPicture(const std::uint8_t* raw, int width, int height, int flip, int set, ShownPicture& picture);
