// The data source's side of the camera window: SimCam.dll (the camera's
// thirteen operations and its controls) and Vantage.dll, both loaded from the
// source's own folder. OpenVantage receives SimCam's operations except two
// that the source wraps: TransferImages, whose images (taken over from SimCam
// once it has accepted them) wait here for the application, and NotifyClose,
// which tells the source that the window is going away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sim_source {

class CameraBridge {
public:
    // Loads SimCam.dll from folder; false when it is missing or incomplete.
    bool Load(const std::string& folder);
    // Closes the window (if any), frees Vantage.dll and SimCam.dll, and the
    // images not taken.
    void Unload();
    // SimCamLoadScenes; false for a list SimCam refuses.
    bool LoadScenes(const std::string& sceneList);

    // Loads Vantage.dll and opens the camera window with parent as the data
    // source's window; notify receives `message` whenever pictures arrive or
    // the window is closing. Null when the window cannot be opened.
    HWND OpenWindow(HWND parent, HWND notify, UINT message);
    // Closes the camera window now, on this (its) thread.
    void CloseWindow();
    // The camera window, null once it is gone.
    HWND Window();
    // Tells the camera window that its transfer reached the application: it
    // closes itself a second later.
    void ReportTransferDone();

    // The images transferred from the camera window since the last call,
    // handed to the caller.
    std::vector<HGLOBAL> TakeImages();

private:
    HMODULE simcam_ = nullptr;
    HMODULE vantage_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace sim_source
