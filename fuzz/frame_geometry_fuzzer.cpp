// The frame-file geometry of the prism tool: the input is eight bytes of
// file length (little-endian) and then the text of --size. A size is taken
// only when the text is exactly two decimal numbers joined by "x" whose
// values it stands for, and a file is taken only when its length is the
// frame's pixels, or those and the 128-byte record.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_files.h"
#include "raw_input.h"

namespace {

// The text's own value of "WxH", in 64 bits; false when it is not that form.
bool Spelled(const std::string& text, std::uint64_t& w, std::uint64_t& h) {
    const auto x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == text.size()) return false;
    auto number = [&](std::size_t from, std::size_t to, std::uint64_t& n) {
        n = 0;
        for (std::size_t i = from; i < to; ++i) {
            if (text[i] < '0' || text[i] > '9' || n > (std::uint64_t(1) << 40)) return false;
            n = n * 10 + std::uint64_t(text[i] - '0');
        }
        return true;
    };
    return number(0, x, w) && number(x + 1, text.size(), h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t fileBytes = 0;
    const std::size_t lengthBytes = size < 8 ? size : 8;
    for (std::size_t i = 0; i < lengthBytes; ++i) fileBytes |= std::uint64_t(data[i]) << (8 * i);
    // Up to the first NUL, as a command-line argument ends there.
    std::string text(reinterpret_cast<const char*>(data) + lengthBytes, size - lengthBytes);
    text.resize(std::strlen(text.c_str()));

    FrameSize forced;
    const bool parsed = ParseFrameSize(text, forced);
    if (parsed) {
        std::uint64_t w = 0, h = 0;
        FUZZ_CHECK(Spelled(text, w, h));
        FUZZ_CHECK(forced.width > 0 && forced.height > 0);
        FUZZ_CHECK(w == std::uint64_t(forced.width) && h == std::uint64_t(forced.height));
    }
    FrameSize frame;
    if (FrameSizeOfFile(fileBytes, parsed ? &forced : nullptr, frame)) {
        const std::uint64_t pixels = std::uint64_t(frame.width) * std::uint64_t(frame.height);
        FUZZ_CHECK(frame.width > 0 && frame.height > 0);
        FUZZ_CHECK(fileBytes == pixels || fileBytes == pixels + kFrameRecordBytes);
    }
    return 0;
}
