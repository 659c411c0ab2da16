// SimCam.dll and Vantage.dll behind the data source. The wrapped operations
// run on the camera window's thread (the application's) or on Vantage's
// worker; what they hand over is kept in one guarded record, since the
// operations are plain functions without a context argument.
#include "camera_bridge.h"

#include <mutex>
#include <new>

#include "../../vantage/camera/camera_ops.h"
#include "../simcam/simcam.h"

namespace sim_source {

namespace {

constexpr char kSimCamFile[] = "SimCam.dll";
constexpr char kVantageFile[] = "Vantage.dll";
constexpr UINT kTransferDoneMessage = 1125;  // the camera window closes itself a second later

struct Handover {
    std::mutex lock;
    CameraOps simcam = {};
    decltype(&SimCamTakeTransferred) takeTransferred = nullptr;
    decltype(&SimCamLoadScenes) loadScenes = nullptr;
    std::vector<HGLOBAL> images;
    HWND notify = nullptr;
    UINT message = 0;
};
Handover gHandover;

template <typename Fn>
Fn Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void Notify() {
    if (gHandover.notify) PostMessageA(gHandover.notify, gHandover.message, 0, 0);
}

int __stdcall TransferImagesToSource(HGLOBAL* dibs, int count) {
    std::lock_guard<std::mutex> guard(gHandover.lock);
    // SimCam takes the images over (and frees them when it refuses them).
    if (!gHandover.simcam.TransferImages(dibs, count)) return 0;
    HGLOBAL chunk[64];
    for (int n; (n = gHandover.takeTransferred(chunk, 64)) > 0;) {
        for (int i = 0; i < n; ++i) {
            try {
                gHandover.images.push_back(chunk[i]);
            } catch (const std::bad_alloc&) {
                GlobalFree(chunk[i]);  // out of memory: the picture is lost, not leaked
            }
        }
    }
    Notify();
    return 1;
}

int __stdcall NotifyCloseToSource() {
    const int result = gHandover.simcam.NotifyClose();
    std::lock_guard<std::mutex> guard(gHandover.lock);
    Notify();
    return result;
}

}  // namespace

bool CameraBridge::Load(const std::string& folder) {
    if (simcam_) return true;
    simcam_ = LoadLibraryA((folder + "\\" + kSimCamFile).c_str());
    if (!simcam_) return false;
    auto getOperations = Entry<decltype(&SimCamGetOperations)>(simcam_, "SimCamGetOperations");
    std::lock_guard<std::mutex> guard(gHandover.lock);
    gHandover.takeTransferred = Entry<decltype(&SimCamTakeTransferred)>(simcam_, "SimCamTakeTransferred");
    gHandover.loadScenes = Entry<decltype(&SimCamLoadScenes)>(simcam_, "SimCamLoadScenes");
    if (getOperations) getOperations(&gHandover.simcam);
    if (!getOperations || !gHandover.takeTransferred || !gHandover.loadScenes || !gHandover.simcam.TransferImages) {
        FreeLibrary(simcam_);
        simcam_ = nullptr;
        return false;
    }
    return true;
}

void CameraBridge::Unload() {
    CloseWindow();
    if (vantage_) FreeLibrary(vantage_);
    vantage_ = nullptr;
    for (HGLOBAL image : TakeImages()) GlobalFree(image);
    if (simcam_) FreeLibrary(simcam_);
    simcam_ = nullptr;
    std::lock_guard<std::mutex> guard(gHandover.lock);
    gHandover.simcam = {};
    gHandover.takeTransferred = nullptr;
    gHandover.loadScenes = nullptr;
    gHandover.notify = nullptr;
}

bool CameraBridge::LoadScenes(const std::string& sceneList) {
    std::lock_guard<std::mutex> guard(gHandover.lock);
    return gHandover.loadScenes && gHandover.loadScenes(sceneList.c_str()) >= 0;
}

HWND CameraBridge::OpenWindow(HWND parent, HWND notify, UINT message) {
    if (!simcam_) return nullptr;
    if (!vantage_) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(simcam_, path, MAX_PATH);
        std::string folder(path);
        folder.resize(folder.rfind('\\') == std::string::npos ? 0 : folder.rfind('\\'));
        vantage_ = LoadLibraryA((folder + "\\" + kVantageFile).c_str());
    }
    auto openVantage = vantage_ ? Entry<OpenVantageFn>(vantage_, "OpenVantage") : nullptr;
    if (!openVantage) return nullptr;
    CameraOps ops;
    {
        std::lock_guard<std::mutex> guard(gHandover.lock);
        gHandover.notify = notify;
        gHandover.message = message;
        ops = gHandover.simcam;
    }
    window_ = openVantage(parent, ops.OpenCamera, ops.CloseCamera, ops.TogglePreview, ops.StartCapture,
                          NotifyCloseToSource, ops.SetFrameSize, ops.ReadDirectory, ops.ReadEntries, ops.ReadFrame,
                          ops.DeleteAllPictures, ops.GetFrameInfo, ops.SwitchVideoSize, TransferImagesToSource);
    return window_;
}

void CameraBridge::CloseWindow() {
    if (!Window()) return;
    // The close button's way (the camera is told); a window that stays (its
    // video window was open) is destroyed.
    SendMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    if (IsWindow(window_)) SendMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}

HWND CameraBridge::Window() {
    if (window_ && !IsWindow(window_)) window_ = nullptr;
    return window_;
}

void CameraBridge::ReportTransferDone() {
    if (Window()) PostMessageA(window_, kTransferDoneMessage, 0, 0);
}

std::vector<HGLOBAL> CameraBridge::TakeImages() {
    std::lock_guard<std::mutex> guard(gHandover.lock);
    std::vector<HGLOBAL> images;
    images.swap(gHandover.images);
    return images;
}

}  // namespace sim_source
