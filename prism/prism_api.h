// The six exports of Prism. On Windows: undecorated __stdcall names at fixed
// ordinals (prism.def); on Linux: the same names with C linkage in libprism.so.
// Every argument and result is 32 bits wide on the Windows target.
#pragma once

#ifdef _WIN32
#define PRISM_CALL __stdcall
#else
#define PRISM_CALL
#endif

extern "C" {

// Raw frame (width x height bytes, bottom row first) -> 24-bit BMP.
// 1 when the file was written, 0 when the input was refused or the file not written.
int PRISM_CALL BufToBmp(int width, int height, const unsigned char* frame, const char* path,
                        int flipFlags, int setIndex);
// Raw frame -> JPEG. 1 when the file was written, 0 otherwise.
// When the set's SaveRawData is on, the frame and the camera's 128-byte entry
// record that follows it are also written to a raw dump (the JPEG path with
// ".bin"), so the caller must then pass width x height + 128 readable bytes.
int PRISM_CALL BufToJpg(int width, int height, const unsigned char* frame, const char* path,
                        int flipFlags, int setIndex);
// BMP file -> JPEG. unused is ignored. 1 when the file was written, 0 otherwise.
int PRISM_CALL BmpToJpg(int width, int height, const char* bmpPath, const char* jpegPath,
                        int unused, int setIndex);
// Opens the tuning dialog (or the JPEG-quality dialog in delegated mode).
int PRISM_CALL Setting(void* ownerWindow);
int PRISM_CALL GetSEOnOff();
int PRISM_CALL SetSEOnOff(int value);

}

// The exports' types, for callers that bind Prism at run time.
using BufToFileEntry = decltype(&BufToBmp);  // BufToBmp and BufToJpg
using BmpToJpgEntry = decltype(&BmpToJpg);
using SettingEntry = decltype(&Setting);
using GetSEOnOffEntry = decltype(&GetSEOnOff);
using SetSEOnOffEntry = decltype(&SetSEOnOff);
