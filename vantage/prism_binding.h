// Prism.dll from Vantage's own folder, bound once at load: its six entry
// points, looked up by name. When the library is missing (or lacks a name)
// the calls report failure (0) and do nothing else, so every development
// simply fails.
#pragma once

#include <windows.h>

#include <string>

#include "prism_api.h"

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
    HMODULE module_ = nullptr;
    SettingEntry setting_ = nullptr;
    BufToFileEntry bufToBmp_ = nullptr;
    BufToFileEntry bufToJpg_ = nullptr;
    BmpToJpgEntry bmpToJpg_ = nullptr;
    GetSEOnOffEntry getSE_ = nullptr;
    SetSEOnOffEntry setSE_ = nullptr;
};
