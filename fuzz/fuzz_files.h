// Files for the fuzzers: a private folder per process on a memory file
// system where there is one, whole-file writes, and a hash of the input
// that picks the sizes and switches a target does not read from the bytes.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

inline const std::string& FuzzFolder();

// At a normal exit the folder goes; after a finding it stays for a look.
inline void RemoveFuzzFolder() {
    const std::string& folder = FuzzFolder();
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                std::remove((folder + "/" + e->d_name).c_str());
        closedir(d);
    }
    rmdir(folder.c_str());
}

// Never destroyed: the exit handler that removes the folder runs after the
// destructors of statics made later than it was registered.
inline const std::string& FuzzFolder() {
    static const std::string& folder = *[] {
        const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* pattern = new std::string(base + "/prism-fuzz-XXXXXX");
        if (!mkdtemp(pattern->data())) std::abort();
        std::atexit(RemoveFuzzFolder);
        return pattern;
    }();
    return folder;
}

inline std::string FuzzFile(const char* name) { return FuzzFolder() + "/" + name; }

inline void WriteWhole(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) std::abort();
}

inline bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// FNV-1a.
inline std::uint32_t HashOf(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    return h;
}

// A target's own check failed: report it like a sanitizer finding.
#define FUZZ_CHECK(condition)                                                   \
    do {                                                                        \
        if (!(condition)) {                                                     \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                       \
        }                                                                       \
    } while (0)
