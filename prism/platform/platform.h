// The few system services the portable core needs. One backend per system:
// platform_win32.cpp calls the real Windows functions, platform_posix.cpp
// implements the same behaviour on Linux.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// One profile file (Windows' rules) held for a run of reads and writes, such
// as one settings record's Load or Save. The POSIX backend reads and parses
// the file once when it is opened and writes it once, at Commit, when a value
// changed; the Windows backend passes each call to the system, which keeps
// its own cached copy of the file.
class ProfileFile {
public:
    explicit ProfileFile(const char* path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // GetPrivateProfileString: the number of characters copied to out (at
    // most size - 1); fallback when the key is missing or has no "=".
    std::size_t GetText(const char* section, const char* key, const char* fallback, char* out,
                        std::size_t size) const;
    // GetPrivateProfileInt: the leading decimal number of the value, 0 when it has none.
    int GetInteger(const char* section, const char* key, int fallback) const;
    void WriteText(const char* section, const char* key, const char* value);
    // False when a write did not reach the file.
    bool Commit();

private:
    struct State;  // per backend
    std::unique_ptr<State> state_;
};

// One-call forms of the above, for a single value.
inline std::size_t GetProfileText(const char* section, const char* key, const char* fallback,
                                  char* out, std::size_t size, const char* path) {
    return ProfileFile(path).GetText(section, key, fallback, out, size);
}
inline int GetProfileInteger(const char* section, const char* key, int fallback, const char* path) {
    return ProfileFile(path).GetInteger(section, key, fallback);
}
inline bool WriteProfileText(const char* section, const char* key, const char* value,
                             const char* path) {
    ProfileFile file(path);
    file.WriteText(section, key, value);
    return file.Commit();
}

// Folder of the module that contains this code (the DLL or shared library,
// not the host program), without a trailing separator. Empty when it cannot
// be found: callers then load nothing from anywhere (never from the current
// directory).
std::string OwnModuleFolder();

// Optional converter library: loaded by full path, entry looked up by name.
void* OpenModule(const char* path);
void* FindEntry(void* module, const char* name);
void CloseModule(void* module);

// An entry looked up by name, as the function pointer type Fn (null when absent).
template <class Fn>
Fn FindEntryAs(void* module, const char* name) {
    return reinterpret_cast<Fn>(FindEntry(module, name));
}

// (a * b) / c rounded to the nearest integer, halves away from zero; -1 when
// c is 0 or the result does not fit in 32 bits (the Windows MulDiv rules).
int MulDiv(int a, int b, int c);

}  // namespace platform
