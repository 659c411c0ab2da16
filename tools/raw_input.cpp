#include "raw_input.h"

#include <climits>

namespace {

// Decimal digits only, 1..INT_MAX; false for anything else (sscanf's "%d"
// would take blanks and signs, and wrap numbers past INT_MAX).
bool ParseSide(const std::string& text, int& value) {
    if (text.empty() || text.size() > 10) return false;
    std::int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > INT_MAX) return false;
    value = int(n);
    return true;
}

}  // namespace

bool ParseFrameSize(const std::string& text, FrameSize& size) {
    const auto x = text.find('x');
    FrameSize parsed;
    if (x == std::string::npos || !ParseSide(text.substr(0, x), parsed.width) ||
        !ParseSide(text.substr(x + 1), parsed.height))
        return false;
    size = parsed;
    return true;
}

bool FrameSizeOfFile(std::uint64_t fileBytes, const FrameSize* forced, FrameSize& size) {
    if (forced) {
        size = *forced;
    } else if (fileBytes == kSmallFrameFileBytes || fileBytes == kSmallFrameFileBytes - kFrameRecordBytes) {
        size = {320, 240};
    } else {
        size = {640, 480};
    }
    const std::uint64_t pixels = std::uint64_t(size.width) * std::uint64_t(size.height);
    return fileBytes == pixels || fileBytes == pixels + kFrameRecordBytes;
}
