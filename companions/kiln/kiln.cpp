// Test converter standing in for the optional outside converter: its
// RawToBmp makes a picture whose every byte the tests can predict.
//
// Output pixel (x, y) of the buffer (blue, green, red; bottom row first, as
// the frame) is (sample, sample / 2, 255 - sample) of frame sample (x, y).
// A frame whose first sample is 0xEE is refused (result 0), so tests can
// drive the failure path; one whose first sample is 0xE7 succeeds with the
// result 7, so tests can tell the converter's result from a plain 1.
#include <cstdint>

#ifdef _WIN32
#define KILN_CALL __stdcall
#else
#define KILN_CALL
#endif

constexpr std::uint8_t kRefusedMarker = 0xEE;
constexpr std::uint8_t kSevenMarker = 0xE7;

extern "C" int KILN_CALL RawToBmp(int width, int height, const unsigned char* frame, unsigned char* out) {
    if (width <= 0 || height <= 0 || !frame || !out || frame[0] == kRefusedMarker) return 0;
    const std::int64_t pixels = std::int64_t(width) * height;
    for (std::int64_t i = 0; i < pixels; ++i) {
        out[3 * i] = frame[i];
        out[3 * i + 1] = std::uint8_t(frame[i] / 2);
        out[3 * i + 2] = std::uint8_t(255 - frame[i]);
    }
    return frame[0] == kSevenMarker ? 7 : 1;
}
