// An output file that is either written completely or removed: a failed
// write never leaves a partial file behind.
#pragma once

#include <cstddef>
#include <cstdio>

class OutputFile {
public:
    explicit OutputFile(const char* path) : path_(path) {}
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open();  // creates or replaces the file
    void Write(const void* data, std::size_t size);
    std::FILE* Handle() const { return file_; }
    void Fail() { ok_ = false; }
    // Closes the file; true when everything was written, else the file is removed.
    bool Commit();

private:
    const char* path_;
    std::FILE* file_ = nullptr;
    bool ok_ = true;
};

