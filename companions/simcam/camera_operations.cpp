// The simulated camera's thirteen operations and its control functions: the
// picture store behind the operations, the faults a test switches on, the
// log of operation numbers, the frame-info record (current live-video size)
// and the images taken over by TransferImages. All state is one process-wide
// record guarded by one lock, since the camera window calls from its
// user-interface thread and its worker thread. Buffers handed out stay valid
// until the next call of the same operation.
#include <windows.h>

#include <cstring>
#include <iterator>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "live_preview.h"
#include "picture_store.h"
#include "simcam.h"

static_assert(simcam::kDirectoryBytes == kCameraDirectoryBytes, "directory header size");
static_assert(simcam::kRecordBytes == kCameraEntryBytes, "entry record size");

using namespace simcam;

namespace {

enum Operation {
    kOpOpenCamera = 1,
    kOpCloseCamera,
    kOpTogglePreview,
    kOpStartCapture,
    kOpNotifyClose,
    kOpSetFrameSize,
    kOpReadDirectory,
    kOpReadEntries,
    kOpReadFrame,
    kOpDeleteAllPictures,
    kOpGetFrameInfo,
    kOpSwitchVideoSize,
    kOpTransferImages,
};

// What the camera holds when nobody has loaded a store.
constexpr char kDefaultScenes[] = "still:640:chart,clip:320:wedge:3,still:320:bars,clip:640:ramp:2";
constexpr std::size_t kMaxCallLogChars = 1 << 20;
constexpr UINT kCaptureEndedMessage = 1124;  // to the video window, the preview area's parent
constexpr char kDeviceKey[] = "SYSTEM\\CurrentControlSet\\Services\\GENERIC\\Parameters";
constexpr char kDeviceStatusValue[] = "Status";

// Frame-info record: 32-bit words.
constexpr int kInfoSize = 0;           // record size, 40
constexpr int kInfoWidth = 1;
constexpr int kInfoHeight = 2;
constexpr int kInfoMode = 3;           // third argument of the last SetFrameSize
constexpr int kInfoLiveVideo = 4;      // 1 while live video runs
constexpr int kInfoLiveFrames = 5;     // pictures drawn since live video started
constexpr int kInfoEntryCount = 6;
constexpr int kInfoWords = kFrameInfoBytes / 4;
constexpr int kSmallWidth = 320, kSmallHeight = 240, kLargeWidth = 640, kLargeHeight = 480;
constexpr int kDefaultMode = 3;

struct Faults {
    bool noCamera = false;
    int openFailsFrom = 0;  // 0: off
    int openCalls = 0;      // since openFailsFrom was set
    int failingFrame = -1;
    bool deleteFails = false;
    bool transferFails = false;
    int oversizedFrame = -1;
    int goneAfterFrames = 0;  // 0: off
    int framesRead = 0;       // since goneAfterFrames was set
};

struct SimCamState {
    SimCamState() { store.LoadScenes(kDefaultScenes); }
    ~SimCamState() { FreeTransferred(); }

    void FreeTransferred() {
        for (HGLOBAL h : transferred) GlobalFree(h);
        transferred.clear();
    }

    std::mutex lock;
    PictureStore store;
    Faults faults;
    int formatCode = 0;
    std::string callLog;
    int transferredCount = 0;
    std::vector<HGLOBAL> transferred;  // taken over, not yet handed on
    int frameWidth = kSmallWidth;
    int frameHeight = kSmallHeight;
    int frameMode = kDefaultMode;
    int captures = 0;
    std::uint8_t directory[kDirectoryBytes] = {};
    std::uint8_t records[kMaxEntries * kRecordBytes] = {};
    std::uint8_t frame[kMaxFrameBytes + 1] = {};  // room for the oversized frame
};

SimCamState gSimCam;

using Guard = std::lock_guard<std::mutex>;

void LogCall(Operation op) {
    if (gSimCam.callLog.size() >= kMaxCallLogChars) return;
    if (!gSimCam.callLog.empty()) gSimCam.callLog += ',';
    gSimCam.callLog += std::to_string(int(op));
}

// A camera that is unplugged answers nothing; one that goes away does so
// after its Nth frame read.
bool CameraAnswers() {
    const Faults& f = gSimCam.faults;
    return !f.noCamera && !(f.goneAfterFrames > 0 && f.framesRead >= f.goneAfterFrames);
}

void SetFrameGeometry(int width, int height) {
    gSimCam.frameWidth = width;
    gSimCam.frameHeight = height;
    SetLivePreviewSize(width, height);
}

}  // namespace

extern "C" {

int SIMCAM_CALL OpenCamera() {
    Guard g(gSimCam.lock);
    LogCall(kOpOpenCamera);
    Faults& f = gSimCam.faults;
    if (f.openFailsFrom > 0 && ++f.openCalls >= f.openFailsFrom) return 0;
    return CameraAnswers() ? 1 : 0;
}

int SIMCAM_CALL CloseCamera() {
    Guard g(gSimCam.lock);
    LogCall(kOpCloseCamera);
    return 1;
}

int SIMCAM_CALL TogglePreview(HWND previewArea) {
    Guard g(gSimCam.lock);
    LogCall(kOpTogglePreview);
    if (LivePreviewRunning()) {
        StopLivePreview();
        return 1;
    }
    if (!CameraAnswers()) return 0;
    return StartLivePreview(previewArea, gSimCam.frameWidth, gSimCam.frameHeight) ? 1 : 0;
}

int SIMCAM_CALL StartCapture() {
    Guard g(gSimCam.lock);
    LogCall(kOpStartCapture);
    if (!CameraAnswers()) return 0;
    const Scene scene = kAllScenes[gSimCam.captures % int(std::size(kAllScenes))];
    if (!gSimCam.store.AppendStill(scene, gSimCam.frameWidth >= kLargeWidth ? kLargeWidth : kSmallWidth)) return 0;
    ++gSimCam.captures;
    // The camera reports the end of a capture to the window that shows its video.
    if (HWND area = LivePreviewWindow()) {
        if (HWND video = GetParent(area)) PostMessageA(video, kCaptureEndedMessage, 0, 0);
    }
    return 1;
}

int SIMCAM_CALL NotifyClose() {
    Guard g(gSimCam.lock);
    LogCall(kOpNotifyClose);
    return 1;
}

int SIMCAM_CALL SetFrameSize(int width, int height, int mode) {
    Guard g(gSimCam.lock);
    LogCall(kOpSetFrameSize);
    if (width < 1 || width > kLargeWidth || height < 1 || height > kLargeHeight) return 0;
    SetFrameGeometry(width, height);
    gSimCam.frameMode = mode;
    return 1;
}

int SIMCAM_CALL ReadDirectory(std::uint16_t* entryCount, std::uint8_t** directory) {
    Guard g(gSimCam.lock);
    LogCall(kOpReadDirectory);
    if (!entryCount || !directory || !CameraAnswers()) return 0;
    gSimCam.store.BuildDirectory(gSimCam.formatCode, gSimCam.directory);
    *entryCount = std::uint16_t(gSimCam.store.EntryCount());
    *directory = gSimCam.directory;
    return 1;
}

int SIMCAM_CALL ReadEntries(std::uint8_t** entries) {
    Guard g(gSimCam.lock);
    LogCall(kOpReadEntries);
    if (!entries || !CameraAnswers()) return 0;
    gSimCam.store.BuildRecords(gSimCam.records);
    *entries = gSimCam.records;
    return 1;
}

int SIMCAM_CALL ReadFrame(int entryIndex, std::uint8_t** frame, std::uint32_t* byteCount) {
    Guard g(gSimCam.lock);
    LogCall(kOpReadFrame);
    if (!frame || !byteCount || !CameraAnswers()) return 0;
    Faults& f = gSimCam.faults;
    if (f.goneAfterFrames > 0) ++f.framesRead;
    if (entryIndex == f.failingFrame) return 0;
    std::uint32_t bytes = gSimCam.store.ReadFrame(entryIndex, gSimCam.frame, kMaxFrameBytes);
    if (bytes == 0) return 0;
    if (entryIndex == f.oversizedFrame) bytes = kMaxFrameBytes + 1;
    *frame = gSimCam.frame;
    *byteCount = bytes;
    return 1;
}

int SIMCAM_CALL DeleteAllPictures() {
    Guard g(gSimCam.lock);
    LogCall(kOpDeleteAllPictures);
    if (!CameraAnswers() || gSimCam.faults.deleteFails) return 0;
    gSimCam.store.Clear();
    return 1;
}

int SIMCAM_CALL GetFrameInfo(std::uint8_t* record) {
    Guard g(gSimCam.lock);
    LogCall(kOpGetFrameInfo);
    if (!record || !CameraAnswers()) return 0;
    std::uint32_t words[kInfoWords] = {};
    words[kInfoSize] = kFrameInfoBytes;
    words[kInfoWidth] = std::uint32_t(gSimCam.frameWidth);
    words[kInfoHeight] = std::uint32_t(gSimCam.frameHeight);
    words[kInfoMode] = std::uint32_t(gSimCam.frameMode);
    words[kInfoLiveVideo] = LivePreviewRunning() ? 1 : 0;
    words[kInfoLiveFrames] = LivePreviewFramesDrawn();
    words[kInfoEntryCount] = std::uint32_t(gSimCam.store.EntryCount());
    for (int i = 0; i < kInfoWords; ++i) {
        for (int b = 0; b < 4; ++b) record[4 * i + b] = std::uint8_t(words[i] >> (8 * b));
    }
    return 1;
}

int SIMCAM_CALL SwitchVideoSize() {
    Guard g(gSimCam.lock);
    LogCall(kOpSwitchVideoSize);
    if (gSimCam.frameWidth == kSmallWidth && gSimCam.frameHeight == kSmallHeight)
        SetFrameGeometry(kLargeWidth, kLargeHeight);
    else
        SetFrameGeometry(kSmallWidth, kSmallHeight);
    return 1;
}

int SIMCAM_CALL TransferImages(HGLOBAL* dibs, int count) {
    Guard g(gSimCam.lock);
    LogCall(kOpTransferImages);
    if (!dibs || count <= 0) return 0;
    std::vector<HGLOBAL> taken;
    try {
        taken.assign(dibs, dibs + count);
    } catch (const std::bad_alloc&) {
        for (int i = 0; i < count; ++i) GlobalFree(dibs[i]);
        return 0;
    }
    if (gSimCam.faults.transferFails) {
        // The caller gave the images away either way.
        for (HGLOBAL h : taken) GlobalFree(h);
        return 0;
    }
    gSimCam.FreeTransferred();
    gSimCam.transferred.swap(taken);
    gSimCam.transferredCount = count;
    return 1;
}

int SIMCAM_CALL SimCamLoadScenes(const char* sceneList) {
    Guard g(gSimCam.lock);
    if (!sceneList) return -1;
    try {
        return gSimCam.store.LoadScenes(sceneList);
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int SIMCAM_CALL SimCamLoadFolder(const char* folder) {
    Guard g(gSimCam.lock);
    return folder ? gSimCam.store.LoadFolder(folder) : -1;
}

void SIMCAM_CALL SimCamGetOperations(CameraOps* ops) {
    if (!ops) return;
    *ops = {OpenCamera,  CloseCamera,       TogglePreview, StartCapture, NotifyClose,
            SetFrameSize, ReadDirectory,    ReadEntries,   ReadFrame,    DeleteAllPictures,
            GetFrameInfo, SwitchVideoSize,  TransferImages};
}

void SIMCAM_CALL SimCamSetFault(int fault, int value) {
    Guard g(gSimCam.lock);
    Faults& f = gSimCam.faults;
    switch (fault) {
        case kSimCamNoCamera: f.noCamera = value != 0; break;
        case kSimCamOpenFailsFromCall:
            f.openFailsFrom = value > 0 ? value : 0;
            f.openCalls = 0;
            break;
        case kSimCamFrameFails: f.failingFrame = value >= 0 ? value : -1; break;
        case kSimCamDeleteFails: f.deleteFails = value != 0; break;
        case kSimCamTransferFails: f.transferFails = value != 0; break;
        case kSimCamOversizedFrame: f.oversizedFrame = value >= 0 ? value : -1; break;
        case kSimCamGoneAfterFrames:
            f.goneAfterFrames = value > 0 ? value : 0;
            f.framesRead = 0;
            break;
        default: break;
    }
}

void SIMCAM_CALL SimCamReset() {
    Guard g(gSimCam.lock);
    gSimCam.faults = Faults();
    gSimCam.callLog.clear();
    gSimCam.transferredCount = 0;
    gSimCam.FreeTransferred();
    gSimCam.formatCode = 0;
    SetFrameGeometry(kSmallWidth, kSmallHeight);
    gSimCam.frameMode = kDefaultMode;
}

void SIMCAM_CALL SimCamSetFormatCode(int code) {
    Guard g(gSimCam.lock);
    gSimCam.formatCode = code & 0x0F;
}

void SIMCAM_CALL SimCamSetDeviceStatus(DWORD status) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDeviceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, kDeviceStatusValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&status), sizeof status);
    RegCloseKey(key);
}

int SIMCAM_CALL SimCamCallLog(char* out, int size) {
    Guard g(gSimCam.lock);
    const int length = int(gSimCam.callLog.size());
    if (!out || size <= 0) return length;
    const int n = length < size - 1 ? length : size - 1;
    std::memcpy(out, gSimCam.callLog.data(), std::size_t(n));
    out[n] = '\0';
    return n;
}

int SIMCAM_CALL SimCamTransferredCount() {
    Guard g(gSimCam.lock);
    return gSimCam.transferredCount;
}

int SIMCAM_CALL SimCamTakeTransferred(HGLOBAL* out, int size) {
    Guard g(gSimCam.lock);
    if (!out || size <= 0) return 0;
    const int n = int(gSimCam.transferred.size()) < size ? int(gSimCam.transferred.size()) : size;
    std::memcpy(out, gSimCam.transferred.data(), std::size_t(n) * sizeof(HGLOBAL));
    gSimCam.transferred.erase(gSimCam.transferred.begin(), gSimCam.transferred.begin() + n);
    return n;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Unloaded by FreeLibrary: the timer must not call into the unloaded code.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) StopLivePreview();
    return TRUE;
}
