// Pictor's process-wide state: what start-up reads once and what every
// document save consults.
#pragma once

#include <windows.h>

#include <string>

class CDocManagerEx;

enum class SaveFormat { kJpeg = 0, kBmp = 1 };

struct PictorState {
    HINSTANCE instance = nullptr;
    std::string programFolder;  // without a trailing backslash
    int jpegQuality = 85;
    SaveFormat saveFormat = SaveFormat::kJpeg;  // what the next document save writes
    HICON icon = nullptr;                       // Pictor.ico beside the program, else icon 129
    CDocManagerEx* docManager = nullptr;
};

extern PictorState gPictor;

// The program's folder + "\" + name.
std::string ProgramFile(const char* name);
// Registers one of Pictor's window classes (once): the program icon, the
// arrow cursor, the given style and background colour index.
bool RegisterPictorClass(const char* name, UINT style, int backgroundColour);
