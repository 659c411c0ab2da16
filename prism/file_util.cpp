// OutputFile: write everything or leave nothing.
#include "file_util.h"

OutputFile::~OutputFile() {
    if (file_) {
        ok_ = false;
        Commit();
    }
}

bool OutputFile::Open() {
    file_ = std::fopen(path_, "wb");
    return file_ != nullptr;
}

void OutputFile::Write(const void* data, std::size_t size) {
    if (ok_ && size != 0 && std::fwrite(data, 1, size, file_) != size) ok_ = false;
}

bool OutputFile::Commit() {
    if (!file_) return false;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
    if (!ok_) std::remove(path_);
    return ok_;
}

