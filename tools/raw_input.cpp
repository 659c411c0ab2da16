#include "raw_input.h"

#include <cstdio>

bool ParseFrameSize(const std::string& text, FrameSize& size) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w <= 0 || h <= 0) return false;
    size = {w, h};
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
