// SimCam.dll as the camera window and the tests see it: the thirteen
// operations by name and ordinal, the directory header, entry records and
// frames of a generated store, every switchable fault, the frame-info record,
// the call log, the registry value of device changes and live video.
//   simcam_test SIMCAM_DLL
#include <windows.h>

#include "platform/platform.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "scene.h"
#include "simcam.h"
#include "wine_test.h"

namespace {

const char* const kOperationNames[13] = {"OpenCamera",    "CloseCamera",  "TogglePreview", "StartCapture",
                                         "NotifyClose",   "SetFrameSize", "ReadDirectory", "ReadEntries",
                                         "ReadFrame",     "DeleteAllPictures", "GetFrameInfo",
                                         "SwitchVideoSize", "TransferImages"};

struct SimCam {
    HMODULE module = nullptr;
    CameraOps ops = {};
    decltype(&SimCamLoadScenes) loadScenes = nullptr;
    decltype(&SimCamLoadFolder) loadFolder = nullptr;
    decltype(&SimCamSetFault) setFault = nullptr;
    decltype(&SimCamReset) reset = nullptr;
    decltype(&SimCamSetFormatCode) setFormatCode = nullptr;
    decltype(&SimCamSetDeviceStatus) setDeviceStatus = nullptr;
    decltype(&SimCamCallLog) callLog = nullptr;
    decltype(&SimCamTransferredCount) transferredCount = nullptr;
    decltype(&SimCamTakeTransferred) takeTransferred = nullptr;

    std::string Log() const {
        char text[256] = {};
        callLog(text, sizeof text);
        return text;
    }
    std::uint32_t InfoWord(int index) const {
        std::uint8_t record[kFrameInfoBytes] = {};
        if (!ops.GetFrameInfo(record)) return 0xFFFFFFFF;
        std::uint32_t word;
        std::memcpy(&word, record + 4 * index, 4);
        return word;
    }
};

SimCam gCam;

template <typename Fn>
void Bind(Fn& fn, const char* name) {
    fn = platform::FindEntryAs<Fn>(gCam.module, name);
    ok(fn != nullptr, "export %s not found", name);
}

bool LoadSimCam(const char* path) {
    gCam.module = LoadLibraryA(path);
    ok(gCam.module != nullptr, "%s did not load (error %lu)", path, GetLastError());
    if (!gCam.module) return false;
    Bind(gCam.loadScenes, "SimCamLoadScenes");
    Bind(gCam.loadFolder, "SimCamLoadFolder");
    Bind(gCam.setFault, "SimCamSetFault");
    Bind(gCam.reset, "SimCamReset");
    Bind(gCam.setFormatCode, "SimCamSetFormatCode");
    Bind(gCam.setDeviceStatus, "SimCamSetDeviceStatus");
    Bind(gCam.callLog, "SimCamCallLog");
    Bind(gCam.transferredCount, "SimCamTransferredCount");
    Bind(gCam.takeTransferred, "SimCamTakeTransferred");
    decltype(&SimCamGetOperations) getOperations = nullptr;
    Bind(getOperations, "SimCamGetOperations");
    if (!getOperations || !gCam.takeTransferred) return false;
    getOperations(&gCam.ops);
    // The table holds the exports of the same names, at ordinals 1..13.
    const FARPROC* table = reinterpret_cast<const FARPROC*>(&gCam.ops);
    for (int i = 0; i < 13; ++i) {
        const FARPROC byName = GetProcAddress(gCam.module, kOperationNames[i]);
        const FARPROC byOrdinal = GetProcAddress(gCam.module, MAKEINTRESOURCEA(i + 1));
        ok(byName && byName == table[i] && byOrdinal == byName, "operation %d (%s) is not exported as such", i + 1,
           kOperationNames[i]);
    }
    return true;
}

struct Directory {
    std::uint16_t count = 0;
    std::vector<std::uint8_t> header, records;
};

Directory ReadDirectoryAndEntries() {
    Directory d;
    std::uint8_t* header = nullptr;
    std::uint8_t* records = nullptr;
    ok(gCam.ops.ReadDirectory(&d.count, &header) == 1 && header, "ReadDirectory failed");
    ok(gCam.ops.ReadEntries(&records) == 1 && records, "ReadEntries failed");
    if (header) d.header.assign(header, header + kCameraDirectoryBytes);
    if (records) d.records.assign(records, records + std::size_t(d.count) * kCameraEntryBytes);
    return d;
}

std::uint32_t Word(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t w = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&w, bytes.data() + offset, 4);
    return w;
}

// Items as the camera window groups them, e.g. "S1C3": a still is a new
// item; a clip frame whose parity bit equals the previous one adds a frame to
// the last item; any other clip frame starts a clip.
std::string GroupItems(const std::vector<std::uint8_t>& header, int count) {
    std::vector<std::pair<char, int>> items;
    int parity = 0;
    for (int i = 0; i < count; ++i) {
        const int f = header[2048 + 4 * i];
        if (!(f & 0x08)) {
            items.push_back({'S', 1});
            parity = 0;
        } else if ((f & 0x10) == parity && !items.empty()) {
            ++items.back().second;
        } else {
            items.push_back({'C', 1});
            parity = f & 0x10;
        }
    }
    std::string text;
    for (const auto& item : items) text += item.first + std::to_string(item.second);
    return text;
}

void TestDirectory() {
    gCam.reset();
    ok(gCam.loadScenes("still:640:chart,clip:320:wedge:3,still:320:bars,clip:640:ramp:2,clip:320:bars:1") == 8,
       "scene store did not give 8 entries");
    gCam.setFormatCode(2);
    Directory d = ReadDirectoryAndEntries();
    ok(d.count == 8, "got %u entries, expected 8", d.count);
    if (d.count != 8 || d.records.size() != 8 * 128) return;
    ok((d.header[9] & 0x0F) == 2, "format code %d, expected 2", d.header[9] & 0x0F);
    const std::uint8_t kFlags[8] = {0x00, 0x18, 0x18, 0x18, 0x00, 0x18, 0x18, 0x08};
    for (int i = 0; i < 8; ++i)
        ok(Word(d.header, 2048 + 4 * i) == kFlags[i], "entry %d flags 0x%02x, expected 0x%02x", i,
           Word(d.header, 2048 + 4 * i), kFlags[i]);
    ok(Word(d.header, 2048 + 4 * 8) == 0, "flags word after the last entry is not 0");
    const std::string items = GroupItems(d.header, d.count);
    ok(items == "S1C3S1C2C1", "directory groups into %s, expected S1C3S1C2C1", items.c_str());

    // Records: index, width, height, flags, picture, frame in clip, source name.
    struct { int entry; std::uint32_t width, height, picture, frame; const char* source; } kRecords[] = {
        {0, 640, 480, 0, 0, "chart"}, {3, 320, 240, 1, 2, "wedge"}, {6, 640, 480, 3, 1, "ramp"},
        {7, 320, 240, 4, 0, "bars"}};
    for (const auto& r : kRecords) {
        const std::size_t at = std::size_t(r.entry) * 128;
        ok(Word(d.records, at) == std::uint32_t(r.entry) && Word(d.records, at + 4) == r.width &&
               Word(d.records, at + 8) == r.height && Word(d.records, at + 12) == kFlags[r.entry] &&
               Word(d.records, at + 16) == r.picture && Word(d.records, at + 20) == r.frame &&
               std::strcmp(reinterpret_cast<const char*>(d.records.data() + at + 32), r.source) == 0,
           "record %d: index %u, %ux%u, picture %u, frame %u, source %s", r.entry, Word(d.records, at),
           Word(d.records, at + 4), Word(d.records, at + 8), Word(d.records, at + 16), Word(d.records, at + 20),
           reinterpret_cast<const char*>(d.records.data() + at + 32));
    }

    // A forced parity bit of 0 right after a still makes the clip read as part of the still.
    ok(gCam.loadScenes("still:640:chart,clip:320:wedge:2:0,clip:320:bars:2:0") == 5, "forced parity store");
    d = ReadDirectoryAndEntries();
    ok(d.count == 5 && GroupItems(d.header, d.count) == "S5", "forced parity 0 gives items %s, expected S5",
       GroupItems(d.header, d.count).c_str());

    const char* kMalformed[] = {"still:800:chart", "clip:320:wedge", "still:640:sky", "clip:320:wedge:0",
                                "clip:320:wedge:2:2", "still:640:chart,", "movie:640:chart", "clip:640:bars:1537",
                                "still:640:chart:1"};
    for (const char* sceneList : kMalformed) ok(gCam.loadScenes(sceneList) == -1, "malformed sceneList \"%s\" was accepted", sceneList);
    d = ReadDirectoryAndEntries();
    ok(d.count == 5, "a refused sceneList changed the store to %u entries", d.count);
}

void TestFrames() {
    gCam.reset();
    gCam.loadScenes("still:640:chart,clip:320:wedge:2");
    const std::vector<std::uint8_t> chart = RenderSceneRaw(Scene::ToneChart, 640, 480);
    std::vector<std::uint8_t> wedge = RenderSceneRaw(Scene::ResolutionWedge, 320, 240);
    std::vector<std::uint8_t> moved(wedge.size());
    for (int row = 0; row < 240; ++row)
        for (int x = 0; x < 320; ++x) moved[row * 320 + x] = wedge[row * 320 + (x + 8) % 320];
    const std::vector<std::uint8_t>* kExpected[3] = {&chart, &wedge, &moved};
    for (int i = 0; i < 3; ++i) {
        std::uint8_t* frame = nullptr;
        std::uint32_t bytes = 0;
        const int result = gCam.ops.ReadFrame(i, &frame, &bytes);
        ok(result == 1 && bytes == kExpected[i]->size(), "frame %d: result %d, %u bytes, expected %u", i, result,
           bytes, unsigned(kExpected[i]->size()));
        ok(frame && bytes == kExpected[i]->size() && std::memcmp(frame, kExpected[i]->data(), bytes) == 0,
           "frame %d is not its scene", i);
    }
    std::uint8_t* frame = nullptr;
    std::uint32_t bytes = 0;
    ok(gCam.ops.ReadFrame(3, &frame, &bytes) == 0 && bytes == 0, "frame beyond the store was read");

    gCam.setFault(kSimCamFrameFails, 1);
    for (int i = 0; i < 3; ++i) {
        bytes = 0;
        const int result = gCam.ops.ReadFrame(i, &frame, &bytes);
        ok((result == 1) == (i != 1) && (bytes != 0) == (i != 1), "failing entry 1: frame %d gave %d, %u bytes",
           i, result, bytes);
    }
}

void TestFolder() {
    gCam.reset();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "simcam-folder-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    // Name order decides the entry order; a trailing record is dropped; other sizes are skipped.
    struct { const char* name; std::size_t bytes; std::uint32_t frameBytes; } kFiles[] = {
        {"c.raw", 307328, 307200}, {"a.raw", 76800, 76800}, {"b.txt", 310000, 0}, {"b2.raw", 76928, 76800}};
    for (const auto& f : kFiles) {
        std::vector<std::uint8_t> bytes(f.bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7 + f.bytes);
        HANDLE h = CreateFileA((folder + "\\" + f.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    ok(gCam.loadFolder(folder.c_str()) == 3, "folder did not give 3 entries");
    const int kOrder[3] = {1, 3, 0};
    const Directory d = ReadDirectoryAndEntries();
    for (int i = 0; i < 3 && d.count == 3; ++i) {
        const auto& f = kFiles[kOrder[i]];
        std::uint8_t* frame = nullptr;
        std::uint32_t bytes = 0;
        gCam.ops.ReadFrame(i, &frame, &bytes);
        bool same = frame && bytes == f.frameBytes;
        for (std::uint32_t k = 0; same && k < bytes; ++k) same = frame[k] == std::uint8_t(k * 7 + f.bytes);
        ok(same && std::strcmp(reinterpret_cast<const char*>(d.records.data() + i * 128 + 32), f.name) == 0,
           "entry %d: %u bytes from %s, expected %u bytes of %s", i, bytes,
           reinterpret_cast<const char*>(d.records.data() + i * 128 + 32), f.frameBytes, f.name);
    }
    ok(gCam.loadFolder((folder + "\\missing").c_str()) == -1, "a missing folder was loaded");
    ok(ReadDirectoryAndEntries().count == 3, "a missing folder changed the store");
    for (const auto& f : kFiles) DeleteFileA((folder + "\\" + f.name).c_str());
    RemoveDirectoryA(folder.c_str());
}

void TestCameraFaults() {
    gCam.reset();
    gCam.loadScenes("still:320:bars,still:320:ramp,still:320:chart");
    std::uint8_t record[kFrameInfoBytes];
    gCam.setFault(kSimCamNoCamera, 1);
    Directory d;
    std::uint8_t* header = nullptr;
    ok(gCam.ops.OpenCamera() == 0 && gCam.ops.ReadDirectory(&d.count, &header) == 0 &&
           gCam.ops.GetFrameInfo(record) == 0,
       "a camera that is not there answered");
    gCam.setFault(kSimCamNoCamera, 0);
    ok(gCam.ops.OpenCamera() == 1, "OpenCamera failed with the camera back");

    gCam.setFault(kSimCamOpenFailsFromCall, 3);
    const int kOpenResults[4] = {1, 1, 0, 0};
    for (int call = 0; call < 4; ++call) {
        const int result = gCam.ops.OpenCamera();
        ok(result == kOpenResults[call], "OpenCamera call %d gave %d, expected %d", call + 1, result,
           kOpenResults[call]);
    }
    gCam.setFault(kSimCamOpenFailsFromCall, 0);

    gCam.setFault(kSimCamGoneAfterFrames, 2);
    std::uint8_t* frame = nullptr;
    std::uint32_t bytes = 0;
    const int first = gCam.ops.ReadFrame(0, &frame, &bytes) + gCam.ops.ReadFrame(1, &frame, &bytes);
    ok(first == 2, "the frames before the camera went away failed");
    ok(gCam.ops.ReadFrame(2, &frame, &bytes) == 0 && gCam.ops.GetFrameInfo(record) == 0 &&
           gCam.ops.OpenCamera() == 0,
       "the camera still answers after it went away");
}

void TestDeleteAndTransfer() {
    gCam.reset();
    gCam.loadScenes("still:640:chart,clip:320:wedge:2");
    gCam.setFault(kSimCamDeleteFails, 1);
    ok(gCam.ops.DeleteAllPictures() == 0, "failing DeleteAllPictures reported success");
    ok(ReadDirectoryAndEntries().count == 3, "failing DeleteAllPictures erased pictures");
    gCam.setFault(kSimCamDeleteFails, 0);
    ok(gCam.ops.DeleteAllPictures() == 1, "DeleteAllPictures failed");
    const std::uint16_t left = ReadDirectoryAndEntries().count;
    ok(left == 0, "%u entries left after DeleteAllPictures", left);

    auto makeDibs = [](HGLOBAL* dibs, int n) {
        for (int i = 0; i < n; ++i) {
            dibs[i] = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + 4 * 2 * 3);
            auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dibs[i]));
            *h = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
            GlobalUnlock(dibs[i]);
        }
    };
    HGLOBAL dibs[3];
    makeDibs(dibs, 3);
    ok(gCam.ops.TransferImages(dibs, 3) == 1, "TransferImages failed");
    ok(gCam.transferredCount() == 3, "transfer count %d, expected 3", gCam.transferredCount());
    HGLOBAL taken[4] = {};
    const int n = gCam.takeTransferred(taken, 4);
    ok(n == 3 && taken[0] == dibs[0] && taken[2] == dibs[2], "took %d images back, expected the 3 given", n);
    for (int i = 0; i < n; ++i) GlobalFree(taken[i]);

    gCam.setFault(kSimCamTransferFails, 1);
    makeDibs(dibs, 2);
    ok(gCam.ops.TransferImages(dibs, 2) == 0, "failing TransferImages reported success");
    ok(gCam.transferredCount() == 3, "failed transfer changed the count to %d", gCam.transferredCount());
    ok(gCam.takeTransferred(taken, 4) == 0, "images of a failed transfer were kept");
    ok(gCam.ops.TransferImages(nullptr, 1) == 0, "TransferImages without images reported success");
}

void TestFrameInfoAndCallLog() {
    gCam.reset();
    ok(gCam.InfoWord(0) == 40 && gCam.InfoWord(1) == 320 && gCam.InfoWord(2) == 240,
       "frame info after reset: %u bytes, %ux%u", gCam.InfoWord(0), gCam.InfoWord(1), gCam.InfoWord(2));
    // Each step: SetFrameSize(w, h, 3) when w > 0, else SwitchVideoSize; then the size it leaves.
    struct { int setWidth, setHeight, result; std::uint32_t width, height; } kSteps[] = {
        {640, 480, 1, 640, 480}, {0, 0, 1, 320, 240}, {0, 0, 1, 640, 480}, {800, 600, 0, 640, 480},
        {320, 240, 1, 320, 240}, {0, 0, 1, 640, 480}};
    for (const auto& s : kSteps) {
        const int result = s.setWidth ? gCam.ops.SetFrameSize(s.setWidth, s.setHeight, 3) : gCam.ops.SwitchVideoSize();
        ok(result == s.result && gCam.InfoWord(1) == s.width && gCam.InfoWord(2) == s.height,
           "after %dx%d: result %d, frame info %ux%u, expected %ux%u", s.setWidth, s.setHeight, result,
           gCam.InfoWord(1), gCam.InfoWord(2), s.width, s.height);
    }

    // A camera check, then a refresh of two entries.
    gCam.reset();
    gCam.loadScenes("still:320:bars,still:640:ramp");
    gCam.ops.OpenCamera();
    gCam.ops.CloseCamera();
    gCam.ops.OpenCamera();
    std::uint8_t record[kFrameInfoBytes];
    gCam.ops.GetFrameInfo(record);
    gCam.ops.SetFrameSize(640, 480, 3);
    ReadDirectoryAndEntries();
    std::uint8_t* frame;
    std::uint32_t bytes;
    gCam.ops.ReadFrame(0, &frame, &bytes);
    gCam.ops.ReadFrame(1, &frame, &bytes);
    gCam.ops.SetFrameSize(320, 240, 3);
    gCam.ops.CloseCamera();
    const std::string log = gCam.Log();
    ok(log == "1,2,1,11,6,7,8,9,9,6,2", "call log \"%s\"", log.c_str());
    char shortLog[4];
    ok(gCam.callLog(shortLog, sizeof shortLog) == 3 && std::strcmp(shortLog, "1,2") == 0,
       "truncated call log \"%s\"", shortLog);
    ok(gCam.callLog(nullptr, 0) == int(log.size()), "call log length %d, expected %u", gCam.callLog(nullptr, 0),
       unsigned(log.size()));
}

void TestDeviceStatus() {
    for (DWORD status : {DWORD(1), DWORD(0)}) {
        gCam.setDeviceStatus(status);
        DWORD value = 0xDEAD, type = 0, size = sizeof value;
        const LONG result = RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\GENERIC\\Parameters",
                                         "Status", RRF_RT_REG_DWORD, &type, &value, &size);
        ok(result == ERROR_SUCCESS && type == REG_DWORD && value == status, "Status reads %lu (error %ld), expected %lu",
           value, result, status);
    }
}

void PumpMessages(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

void TestLiveVideo() {
    gCam.reset();
    gCam.loadScenes("still:640:chart");
    HWND video = CreateWindowExA(0, "STATIC", "video", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND area = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 322, 242, video, nullptr, nullptr,
                                nullptr);
    ok(gCam.ops.TogglePreview(area) == 1, "live video did not start");
    PumpMessages(400);
    const std::uint32_t drawn = gCam.InfoWord(5);
    ok(gCam.InfoWord(4) == 1 && drawn >= 3, "live video: running %u, %u pictures drawn", gCam.InfoWord(4), drawn);
    HDC dc = GetDC(area);
    const COLORREF corner = GetPixel(dc, 1, 1);
    ReleaseDC(area, dc);
    const std::uint8_t r = GetRValue(corner), g = GetGValue(corner), b = GetBValue(corner);
    ok((r == 191 || r == 0 || r == 16) && (g == 191 || g == 0 || g == 16) && (b == 191 || b == 0 || b == 16) &&
           corner != RGB(0, 0, 0),
       "preview pixel 0x%06lx is no colour bar", corner);

    ok(gCam.ops.StartCapture() == 1, "StartCapture failed");
    MSG msg;
    const BOOL posted = PeekMessageA(&msg, nullptr, 1124, 1124, PM_REMOVE);
    ok(posted && msg.hwnd == video, "end-of-capture message: %s to %p, expected to the video window %p",
       posted ? "posted" : "not posted", posted ? static_cast<void*>(msg.hwnd) : nullptr, static_cast<void*>(video));
    const Directory d = ReadDirectoryAndEntries();
    ok(d.count == 2 && Word(d.records, 128 + 4) == 320, "capture gave %u entries, the new one %u wide", d.count,
       Word(d.records, 128 + 4));

    ok(gCam.ops.TogglePreview(area) == 1, "live video did not stop");
    const std::uint32_t stopped = gCam.InfoWord(5);
    PumpMessages(300);
    ok(gCam.InfoWord(4) == 0 && gCam.InfoWord(5) == stopped, "live video goes on after it stopped");
    ok(gCam.ops.TogglePreview(nullptr) == 0, "live video started without a window");
    DestroyWindow(video);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: simcam_test SIMCAM_DLL\n");
        return 2;
    }
    if (LoadSimCam(argv[1])) {
        TestDirectory();
        TestFrames();
        TestFolder();
        TestCameraFaults();
        TestDeleteAndTransfer();
        TestFrameInfoAndCallLog();
        TestDeviceStatus();
        TestLiveVideo();
    }
    return wine_test::Finish();
}
