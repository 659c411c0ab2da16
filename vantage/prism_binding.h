// Prism.dll from Vantage's own folder, bound once at load: its six entry
// points, looked up by name. When the library is missing (or lacks a name)
// the calls report failure (0) and do nothing else, so every development
// simply fails.
#pragma once

#include <windows.h>

#include <string>

class CPrismBinding {
public:
    // Loads folder\Prism.dll unless already bound.
    void Bind(const std::string& folder);
    void Release();
    bool IsBound() const { return module_ != nullptr; }

    int Setting(HWND owner) const;
    int BufToBmp(int width, int height, const unsigned char* raw, const char* path, int flip, int set) const;
    int BufToJpg(int width, int height, const unsigned char* raw, const char* path, int flip, int set) const;
    int BmpToJpg(int width, int height, const char* bmpPath, const char* jpgPath, int flip, int set) const;
    int GetSEOnOff() const;
    int SetSEOnOff(int on) const;

private:
    using SettingFn = int(__stdcall*)(HWND);
    using BufToFileFn = int(__stdcall*)(int, int, const unsigned char*, const char*, int, int);
    using BmpToJpgFn = int(__stdcall*)(int, int, const char*, const char*, int, int);
    using GetSEFn = int(__stdcall*)();
    using SetSEFn = int(__stdcall*)(int);

    HMODULE module_ = nullptr;
    SettingFn setting_ = nullptr;
    BufToFileFn bufToBmp_ = nullptr;
    BufToFileFn bufToJpg_ = nullptr;
    BmpToJpgFn bmpToJpg_ = nullptr;
    GetSEFn getSE_ = nullptr;
    SetSEFn setSE_ = nullptr;
};
