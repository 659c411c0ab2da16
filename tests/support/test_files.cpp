#include "test_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/platform.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device seed;
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        const fs::path candidate = base / ("prism-test-" + std::to_string(seed()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            break;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
    return path_ + platform::kPathSeparator + name;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), std::streamsize(size));
}

void WriteFileText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, text.data(), text.size());
}

bool FileExists(const std::string& path) { return fs::exists(path); }
