// Helpers for tests that touch files: a private temporary folder per test
// and whole-file reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Full path of a file in the folder, with the system's separator.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const void* data, std::size_t size);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
