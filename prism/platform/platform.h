// The few system services the portable core needs. One backend per system:
// platform_win32.cpp calls the real Windows functions, platform_posix.cpp
// implements the same behaviour on Linux.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// Windows profile-file access (GetPrivateProfileString and friends).
// Returns the number of characters copied to out (at most size - 1).
std::size_t GetProfileText(const char* section, const char* key, const char* fallback,
                           char* out, std::size_t size, const char* path);
// GetPrivateProfileInt: the leading decimal number of the value, 0 when it has none.
int GetProfileInteger(const char* section, const char* key, int fallback, const char* path);
bool WriteProfileText(const char* section, const char* key, const char* value, const char* path);

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
