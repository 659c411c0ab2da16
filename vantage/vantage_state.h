// Process-wide state of Vantage: one camera window at a time. Written by the
// thread that calls OpenVantage (and by the load and unload hooks).
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "camera/camera_link.h"
#include "modal_runner.h"
#include "prism_binding.h"
#include "strings_file.h"
#include "twain_thread.h"

class CCameraDlg;

struct VantageState {
    HINSTANCE instance = nullptr;   // Vantage.dll
    std::string folder;             // Vantage's folder, no trailing backslash; empty when unknown
    std::string iniPath;            // folder\TWain.ini
    HMODULE lexis = nullptr;        // Lexis.DLL, loaded by the first OpenVantage, never freed
    CPrismBinding prism;
    CCameraLink camera;
    CStringsFile strings;
    CCameraDlg* cameraDlg = nullptr;  // its hide window is a member of it
    // Records the modal dialog that runs now, for the closing request.
    wingui::ModalRunner modal;
    // The camera window's worker: started by the first window's set-up, stopped at unload.
    CTWainThread worker;
    // Held by every development through Prism and its temporary file (development.h).
    std::mutex developmentLock;
    std::int32_t hostedByPictor = 0;
    std::int32_t cameraPresent = 0;
    std::int32_t transferDone = 0;
    bool opening = false;  // an OpenVantage call is in progress on this thread
};

extern VantageState gVantage;

// folder\name
std::string VantageFile(const char* name);
// Sets a control's or window's text from a key of the strings file, unless
// the key is missing (its text stays).
void ApplyText(HWND window, int key);
