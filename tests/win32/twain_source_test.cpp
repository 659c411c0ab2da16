// The simulated camera's data source as a TWAIN application meets it: through
// Wine's data source manager (twain_32.dll), with the source installed by the
// twain_source fixture. Each scenario writes the source's SimSource.ini, opens
// the manager and the source, and drives it as an application does: the
// capability, the enabling, the message loop through MSG_PROCESSEVENT, the
// native transfers, the closing request.
//   twain_source_test [SCENARIO[,SCENARIO...]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dib_images.h"
#include "simcam.h"
#include "twain_protocol.h"
#include "wine_test.h"

using namespace twain;

namespace {

constexpr char kProduct[] = "Twain for VEXA";
constexpr char kCameraHideClass[] = "VEXA_TWain_HideWnd";

struct Session {
    HMODULE manager = nullptr;
    DsmEntryFn entry = nullptr;
    TW_IDENTITY app = {};
    TW_IDENTITY source = {};
    HWND parent = nullptr;
    bool sourceOpen = false;
};
Session gS;

TW_UINT16 ToManager(TW_UINT16 argument, TW_UINT16 message, TW_MEMREF data) {
    return gS.entry(&gS.app, nullptr, DG_CONTROL, argument, message, data);
}

TW_UINT16 ToSource(TW_UINT32 group, TW_UINT16 argument, TW_UINT16 message, TW_MEMREF data) {
    return gS.entry(&gS.app, &gS.source, group, argument, message, data);
}

TW_UINT16 Condition() {
    TW_STATUS status = {0xEEEE, 0};
    const TW_UINT16 rc = ToSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return rc == TWRC_SUCCESS ? status.ConditionCode : 0xFFFF;
}

std::string SettingsPath() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + (sizeof(void*) == 8 ? "\\twain_64" : "\\twain_32") + "\\SimSource.ini";
}

void WriteSettings(const char* lines) {
    const std::string path = SettingsPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    ok(file != nullptr, "cannot write %s", path.c_str());
    if (!file) return;
    std::fprintf(file, "[SimSource]\r\n%s", lines);
    std::fclose(file);
}

// Opens the manager, finds the source by its product name and opens it.
bool OpenSource() {
    gS.app = {};
    gS.app.Version = {1, 0, TWLG_ENGLISH_USA, TWCY_USA, "1.0"};
    gS.app.ProtocolMajor = 1;
    gS.app.ProtocolMinor = 9;
    gS.app.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strcpy(gS.app.Manufacturer, "Test");
    std::strcpy(gS.app.ProductFamily, "Test");
    std::strcpy(gS.app.ProductName, "Source test");
    HWND parent = gS.parent;
    TW_UINT16 rc = ToManager(DAT_PARENT, MSG_OPENDSM, &parent);
    ok(rc == TWRC_SUCCESS, "MSG_OPENDSM gave %u", rc);
    TW_IDENTITY found = {};
    bool match = false;
    int sources = 0;
    for (rc = ToManager(DAT_IDENTITY, MSG_GETFIRST, &found); rc == TWRC_SUCCESS && !match;
         rc = ToManager(DAT_IDENTITY, MSG_GETNEXT, &found)) {
        ++sources;
        match = std::strcmp(found.ProductName, kProduct) == 0;
        if (match) gS.source = found;
    }
    ok(match, "\"%s\" not among the %d sources listed", kProduct, sources);
    if (!match) return false;
    ok((gS.source.SupportedGroups & DG_IMAGE) && gS.source.ProtocolMajor == 1,
       "identity: groups %#x, protocol %u", unsigned(gS.source.SupportedGroups), gS.source.ProtocolMajor);
    rc = ToManager(DAT_IDENTITY, MSG_OPENDS, &gS.source);
    ok(rc == TWRC_SUCCESS, "MSG_OPENDS gave %u", rc);
    gS.sourceOpen = rc == TWRC_SUCCESS;
    return gS.sourceOpen;
}

void CloseSource() {
    if (gS.sourceOpen) {
        const TW_UINT16 rc = ToManager(DAT_IDENTITY, MSG_CLOSEDS, &gS.source);
        ok(rc == TWRC_SUCCESS, "MSG_CLOSEDS gave %u (condition %u)", rc, Condition());
    }
    gS.sourceOpen = false;
    HWND parent = gS.parent;
    ToManager(DAT_PARENT, MSG_CLOSEDSM, &parent);
}

// Sets CAP_XFERCOUNT as a one-value container of the given item type.
TW_UINT16 SetCount(int count, TW_UINT16 itemType = TWTY_INT16) {
    TW_CAPABILITY cap = {CAP_XFERCOUNT, TWON_ONEVALUE, GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(cap.hContainer));
    value->ItemType = itemType;
    value->Item = TW_UINT16(TW_INT16(count));
    GlobalUnlock(cap.hContainer);
    const TW_UINT16 rc = ToSource(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
    GlobalFree(cap.hContainer);
    return rc;
}

// The current count, or -1000 when the answer is not a TWTY_INT16 one-value container.
int GetCount() {
    TW_CAPABILITY cap = {CAP_XFERCOUNT, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = ToSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap);
    if (rc != TWRC_SUCCESS || cap.ConType != TWON_ONEVALUE || !cap.hContainer) return -1000;
    const auto* value = static_cast<const TW_ONEVALUE*>(GlobalLock(cap.hContainer));
    const int count = value->ItemType == TWTY_INT16 && value->Item <= 0xFFFF ? TW_INT16(value->Item) : -1000;
    GlobalUnlock(cap.hContainer);
    GlobalFree(cap.hContainer);
    return count;
}

TW_UINT16 Enable(bool showUi) {
    TW_USERINTERFACE ui = {TW_BOOL(showUi), 0, gS.parent};
    return ToSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
}

TW_UINT16 Disable() {
    TW_USERINTERFACE ui = {0, 0, gS.parent};
    return ToSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
}

// Runs the application's message loop through MSG_PROCESSEVENT until the
// source announces something other than MSG_NULL (returned), or until done
// holds or ms pass (0).
TW_UINT16 PumpUntilEvent(DWORD ms, const std::function<bool()>& done = {}) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms && !(done && done())) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        TW_EVENT event = {&msg, MSG_NULL};
        if (ToSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT) {
            if (event.TWMessage != MSG_NULL) return event.TWMessage;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

struct Picture {
    int width, height, bits;
};

// Checks one natively transferred DIB: its header and size, and for a
// generated picture its pixels.
void CheckPicture(HGLOBAL dib, int index, const Picture& want, bool generated) {
    const SIZE_T size = GlobalSize(dib);
    const auto* base = static_cast<const std::uint8_t*>(GlobalLock(dib));
    ok(base != nullptr && size >= sizeof(BITMAPINFOHEADER), "picture %d: block of %lu bytes", index,
       (unsigned long)size);
    if (!base || size < sizeof(BITMAPINFOHEADER)) return;
    BITMAPINFOHEADER h;
    std::memcpy(&h, base, sizeof h);
    const std::uint64_t stride = sim_source::DibStride(std::uint64_t(want.width), std::uint64_t(want.bits));
    ok(h.biSize == 40 && h.biWidth == want.width && h.biHeight == want.height && h.biBitCount == want.bits &&
           h.biPlanes == 1 && h.biCompression == BI_RGB,
       "picture %d: header %lu %ldx%ld %u bits, expected 40 %dx%d %d bits", index, (unsigned long)h.biSize,
       (long)h.biWidth, (long)h.biHeight, h.biBitCount, want.width, want.height, want.bits);
    ok(size >= 40 + stride * std::uint64_t(want.height), "picture %d: %lu bytes hold no %dx%d pixels", index,
       (unsigned long)size, want.width, want.height);
    if (!generated || size < 40 + stride * std::uint64_t(want.height)) return GlobalUnlock(dib), void();
    // Corners and the middle, counted from the top; rows are stored bottom-up.
    const int xs[] = {0, want.width - 1, want.width / 2};
    const int ys[] = {0, want.height - 1, want.height / 2};
    for (int k = 0; k < 3; ++k) {
        const int x = xs[k], y = ys[k];
        const std::uint8_t* p = base + 40 + stride * std::uint64_t(want.height - 1 - y) + x * (want.bits / 8);
        const sim_source::Bgr e = sim_source::GeneratedPixel(index, x, y);
        ok(p[0] == e.blue && p[1] == e.green && p[2] == e.red,
           "picture %d pixel (%d,%d): %u %u %u, expected %u %u %u", index, x, y, p[0], p[1], p[2], e.blue, e.green,
           e.red);
    }
    GlobalUnlock(dib);
}

// The transfer loop of an application: information, native transfer, end,
// for as many pictures as are expected (want[i], or want[0] for all).
// Returns the number of pictures taken.
int TransferAll(const std::vector<Picture>& pictures, int expectedPending, bool generated) {
    int taken = 0;
    for (int guard = 0; guard < 50; ++guard) {
        const Picture& want = pictures[std::size_t(taken) < pictures.size() ? taken : 0];
        TW_IMAGEINFO info = {};
        TW_UINT16 rc = ToSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
        ok(rc == TWRC_SUCCESS && info.ImageWidth == want.width && info.ImageLength == want.height &&
               info.BitsPerPixel == want.bits && info.PixelType == TWPT_RGB && info.SamplesPerPixel == 3,
           "picture %d information: rc %u, %dx%d %d bits type %d, expected %dx%d %d bits RGB", taken, rc,
           int(info.ImageWidth), int(info.ImageLength), info.BitsPerPixel, info.PixelType, want.width, want.height,
           want.bits);
        TW_HANDLE dib = nullptr;
        rc = ToSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib);
        ok(rc == TWRC_XFERDONE && dib != nullptr, "native transfer %d gave %u (condition %u)", taken, rc,
           rc == TWRC_FAILURE ? Condition() : 0);
        if (rc != TWRC_XFERDONE || !dib) return taken;
        CheckPicture(dib, taken, want, generated);
        GlobalFree(dib);
        ++taken;
        TW_PENDINGXFERS pending = {0xEEEE, 0};
        rc = ToSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        ok(rc == TWRC_SUCCESS && pending.Count == expectedPending - taken,
           "end of transfer %d: rc %u, %u pending, expected %d", taken, rc, pending.Count, expectedPending - taken);
        if (rc != TWRC_SUCCESS || pending.Count == 0) break;
    }
    return taken;
}

// --- scenarios -------------------------------------------------------------

// Triplets out of their state, or unknown, in state 4; the transfer count.
void TestProtocol() {
    WriteSettings("");
    if (!OpenSource()) return CloseSource();
    struct Refusal {
        TW_UINT32 group;
        TW_UINT16 argument, message, condition;
        const char* what;
    };
    TW_IMAGEINFO info;
    TW_HANDLE handle = nullptr;
    TW_PENDINGXFERS pending;
    TW_USERINTERFACE ui = {0, 0, gS.parent};
    MSG msg = {};
    TW_EVENT event = {&msg, 0};
    const Refusal refusals[] = {
        {DG_IMAGE, DAT_IMAGEINFO, MSG_GET, TWCC_SEQERROR, "image information before MSG_XFERREADY"},
        {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWCC_SEQERROR, "native transfer before MSG_XFERREADY"},
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWCC_SEQERROR, "MSG_ENDXFER in state 4"},
        {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, TWCC_SEQERROR, "MSG_RESET in state 4"},
        {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWCC_SEQERROR, "MSG_DISABLEDS in state 4"},
        {DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWCC_SEQERROR, "MSG_PROCESSEVENT in state 4"},
        {DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, TWCC_BADPROTOCOL, "an unsupported triplet"},
        {DG_CONTROL, DAT_USERINTERFACE, MSG_GET, TWCC_BADPROTOCOL, "an unknown message"},
    };
    void* data[] = {&info, &handle, &pending, &pending, &ui, &event, &info, &ui};
    for (std::size_t i = 0; i < sizeof refusals / sizeof refusals[0]; ++i) {
        const Refusal& r = refusals[i];
        const TW_UINT16 rc = ToSource(r.group, r.argument, r.message, data[i]);
        const TW_UINT16 condition = Condition();
        ok(rc == TWRC_FAILURE && condition == r.condition, "%s: rc %u condition %u, expected %u %u", r.what, rc,
           condition, TWRC_FAILURE, r.condition);
    }
    ok(Condition() == TWCC_SUCCESS, "the condition code is not cleared once read");

    ok(GetCount() == -1, "initial count %d, expected -1", GetCount());
    struct CountCase {
        int count;
        TW_UINT16 itemType, rc, condition;
        int after;
    };
    const CountCase counts[] = {
        {3, TWTY_INT16, TWRC_SUCCESS, TWCC_SUCCESS, 3},   {0, TWTY_INT16, TWRC_FAILURE, TWCC_BADVALUE, 3},
        {-2, TWTY_INT16, TWRC_FAILURE, TWCC_BADVALUE, 3}, {-1, TWTY_INT16, TWRC_SUCCESS, TWCC_SUCCESS, -1},
        {5, TWTY_UINT16, TWRC_SUCCESS, TWCC_SUCCESS, 5},  {7, 0x0007 /* TWTY_FIX32 */, TWRC_FAILURE, TWCC_BADVALUE, 5},
    };
    for (const CountCase& c : counts) {
        const TW_UINT16 rc = SetCount(c.count, c.itemType);
        const TW_UINT16 condition = Condition();
        ok(rc == c.rc && condition == c.condition && GetCount() == c.after,
           "count %d (type %u): rc %u condition %u now %d, expected %u %u %d", c.count, c.itemType, rc, condition,
           GetCount(), c.rc, c.condition, c.after);
    }
    TW_CAPABILITY other = {0x1001, TWON_DONTCARE16, nullptr};
    const TW_UINT16 rc = ToSource(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &other);
    ok(rc == TWRC_FAILURE && Condition() == TWCC_CAPUNSUPPORTED, "another capability: rc %u", rc);
    CloseSource();
}

// Generated pictures without the camera window: announced, transferred
// natively within the transfer count, then the closing request.
void TestGeneratedPictures() {
    struct Case {
        const char* settings;
        int setCount;
        TW_UINT16 setResult;
        int transferred;
        Picture picture;
    };
    const Case cases[] = {
        {"Pictures=3\r\nPictureWidth=33\r\nPictureHeight=17\r\n", -1, TWRC_SUCCESS, 3, {33, 17, 24}},
        {"Pictures=2\r\nPictureWidth=20\r\nPictureHeight=10\r\nPictureBits=32\r\n", -1, TWRC_SUCCESS, 2, {20, 10, 32}},
        {"Pictures=3\r\n", 1, TWRC_SUCCESS, 1, {64, 48, 24}},
        // The limit answers TWRC_CHECKSTATUS; the value read back is then accepted unsigned.
        {"Pictures=3\r\nXferCountLimit=2\r\n", -1, TWRC_CHECKSTATUS, 2, {64, 48, 24}},
    };
    for (const Case& c : cases) {
        std::string shown(c.settings);
        for (std::size_t at; (at = shown.find("\r\n")) != std::string::npos;) shown.replace(at, 2, " ");
        std::printf("  settings %s\n", shown.c_str());
        WriteSettings((std::string(c.settings) + "CloseAfterTransfer=1\r\n").c_str());
        if (!OpenSource()) {
            CloseSource();
            continue;
        }
        TW_UINT16 rc = SetCount(c.setCount);
        ok(rc == c.setResult, "setting count %d gave %u, expected %u", c.setCount, rc, c.setResult);
        if (rc == TWRC_CHECKSTATUS) {
            const int granted = GetCount();
            rc = SetCount(granted, TWTY_UINT16);
            ok(granted == c.transferred && rc == TWRC_SUCCESS, "granted count %d set again: %u, expected %d", granted,
               rc, c.transferred);
        }
        rc = Enable(false);
        ok(rc == TWRC_SUCCESS, "MSG_ENABLEDS gave %u", rc);
        ok(FindWindowA(kCameraHideClass, nullptr) == nullptr, "a camera window opened for generated pictures");
        TW_UINT16 event = PumpUntilEvent(5000);
        ok(event == MSG_XFERREADY, "first event %#x, expected MSG_XFERREADY", event);
        if (event == MSG_XFERREADY) {
            rc = Disable();
            ok(rc == TWRC_FAILURE && Condition() == TWCC_SEQERROR, "MSG_DISABLEDS in state 6 gave %u", rc);
            const int taken = TransferAll({c.picture}, c.transferred, true);
            ok(taken == c.transferred, "%d pictures transferred, expected %d", taken, c.transferred);
            event = PumpUntilEvent(5000);
            ok(event == MSG_CLOSEDSREQ, "event after the transfers %#x, expected MSG_CLOSEDSREQ", event);
        }
        rc = Disable();
        ok(rc == TWRC_SUCCESS, "MSG_DISABLEDS gave %u", rc);
        CloseSource();
    }
}

// Refused image information: the application resets the transfers and the
// source is back in state 5, with nothing more announced.
void TestImageInfoFails() {
    WriteSettings("Pictures=2\r\nImageInfoFails=1\r\n");
    if (!OpenSource()) return CloseSource();
    ok(Enable(false) == TWRC_SUCCESS, "MSG_ENABLEDS failed");
    TW_UINT16 event = PumpUntilEvent(5000);
    ok(event == MSG_XFERREADY, "first event %#x, expected MSG_XFERREADY", event);
    TW_IMAGEINFO info;
    TW_UINT16 rc = ToSource(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
    ok(rc == TWRC_FAILURE && Condition() == TWCC_OPERATIONERROR, "image information gave %u", rc);
    TW_PENDINGXFERS pending = {0xEEEE, 0};
    rc = ToSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
    ok(rc == TWRC_SUCCESS && pending.Count == 0, "MSG_RESET gave %u, %u pending", rc, pending.Count);
    event = PumpUntilEvent(800);
    ok(event == 0, "event %#x after the reset, expected none", event);
    ok(Disable() == TWRC_SUCCESS, "MSG_DISABLEDS failed");
    CloseSource();
}

HWND CameraWindow() {
    HWND hide = FindWindowA(kCameraHideClass, nullptr);
    if (!hide) return nullptr;
    // The camera window is the visible dialog of this thread.
    struct Find {
        static BOOL CALLBACK Each(HWND window, LPARAM out) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Find::Each, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string SimCamLog() {
    HMODULE simcam = GetModuleHandleA("SimCam.dll");
    auto log = simcam ? reinterpret_cast<decltype(&SimCamCallLog)>(
                            reinterpret_cast<void*>(GetProcAddress(simcam, "SimCamCallLog")))
                      : nullptr;
    char text[4096] = {};
    if (log) log(text, sizeof text);
    return text;
}

// The camera window as the source's user interface: shown when enabled (also
// when asked for no interface, answered TWRC_CHECKSTATUS), closed by its user
// (MSG_CLOSEDSREQ) or by MSG_DISABLEDS.
void TestCameraWindow() {
    struct Case {
        bool showUi;
        TW_UINT16 enableResult;
        bool userCloses;
    };
    const Case cases[] = {{true, TWRC_SUCCESS, true}, {false, TWRC_CHECKSTATUS, true}, {true, TWRC_SUCCESS, false}};
    for (const Case& c : cases) {
        std::printf("  camera window: ShowUI %d, %s\n", c.showUi, c.userCloses ? "closed by the user" : "disabled");
        WriteSettings("Scenes=still:320:bars,still:640:chart\r\n");
        if (!OpenSource()) {
            CloseSource();
            continue;
        }
        TW_UINT16 rc = Enable(c.showUi);
        ok(rc == c.enableResult, "MSG_ENABLEDS gave %u, expected %u", rc, c.enableResult);
        // Its camera check and refresh run through SimCam: wait for the refresh.
        TW_UINT16 event = 0;
        const DWORD start = GetTickCount();
        while (SimCamLog().find(",9") == std::string::npos && GetTickCount() - start < 10000 && event == 0)
            event = PumpUntilEvent(100);
        HWND camera = CameraWindow();
        ok(camera != nullptr && event == 0, "camera window %p, event %#x while it refreshed", camera, event);
        if (c.userCloses && camera) {
            PostMessageA(camera, WM_COMMAND, IDCANCEL, 0);  // its close button
            event = PumpUntilEvent(5000);
            ok(event == MSG_CLOSEDSREQ, "event after the window closed %#x, expected MSG_CLOSEDSREQ", event);
            const std::string log = SimCamLog();
            ok(log.find("5,2") != std::string::npos, "the camera was not told of the closing: %s", log.c_str());
        }
        rc = Disable();
        ok(rc == TWRC_SUCCESS, "MSG_DISABLEDS gave %u", rc);
        ok(FindWindowA(kCameraHideClass, nullptr) == nullptr && !IsWindow(camera),
           "the camera window outlived MSG_DISABLEDS");
        CloseSource();
    }
}

// Whether a scenario's name holds one of the comma-separated parts of the
// choice (an empty choice takes every scenario).
bool Chosen(const std::string& name, const std::string& choice) {
    if (choice.empty()) return true;
    std::size_t start = 0;
    while (start <= choice.size()) {
        const std::size_t comma = std::min(choice.find(',', start), choice.size());
        const std::string part = choice.substr(start, comma - start);
        if (!part.empty() && name.find(part) != std::string::npos) return true;
        start = comma + 1;
    }
    return false;
}

// Whether the camera window holds a checked box of that id (the view's
// thumbnails carry them).
bool CheckedBox(HWND camera, int id) {
    struct Search {
        int id;
        bool checked;
        static BOOL CALLBACK Each(HWND child, LPARAM param) {
            auto* search = reinterpret_cast<Search*>(param);
            if (GetDlgCtrlID(child) == search->id && IsWindowVisible(child) &&
                SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
                search->checked = true;
            return !search->checked;
        }
    } search = {id, false};
    EnumChildWindows(camera, Search::Each, reinterpret_cast<LPARAM>(&search));
    return search.checked;
}

// The camera window's Transfer: its developed pictures become MSG_XFERREADY
// and are transferred natively; the source then tells the window, which
// closes itself, and the closing request follows.
void TestCameraWindowTransfer() {
    WriteSettings("Scenes=still:320:bars,still:640:chart\r\n");
    if (!OpenSource()) return CloseSource();
    ok(Enable(true) == TWRC_SUCCESS, "MSG_ENABLEDS failed");
    // Ready once both thumbnails are shown checked and Transfer is enabled.
    HWND camera = nullptr;
    const auto ready = [&] {
        camera = CameraWindow();
        return camera && IsWindowEnabled(GetDlgItem(camera, 3021)) && CheckedBox(camera, 3000) &&
               CheckedBox(camera, 3001);
    };
    TW_UINT16 event = PumpUntilEvent(30000, ready);
    ok(ready() && event == 0, "camera window %p not ready to transfer (event %#x)", camera, event);
    if (camera) PostMessageA(camera, WM_COMMAND, 3021, 0);  // its Transfer button
    event = PumpUntilEvent(60000);
    ok(event == MSG_XFERREADY, "event after the window's transfer %#x, expected MSG_XFERREADY", event);
    if (event == MSG_XFERREADY) {
        const int taken = TransferAll({{320, 240, 24}, {640, 480, 24}}, 2, false);
        ok(taken == 2, "%d pictures transferred, expected 2", taken);
        event = PumpUntilEvent(5000);
        ok(event == MSG_CLOSEDSREQ && !IsWindow(camera), "event after the transfers %#x, window %s", event,
           IsWindow(camera) ? "still open" : "closed");
    }
    const std::string log = SimCamLog();
    ok(log.find(",13") != std::string::npos, "the camera window did not transfer: %s", log.c_str());
    ok(Disable() == TWRC_SUCCESS, "MSG_DISABLEDS failed");
    CloseSource();
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const char* only = argc > 1 ? argv[1] : "";
    gS.manager = LoadLibraryA("twain_32.dll");
    ok(gS.manager != nullptr, "twain_32.dll did not load");
    if (!gS.manager) return wine_test::Finish();
    gS.entry = reinterpret_cast<DsmEntryFn>(reinterpret_cast<void*>(GetProcAddress(gS.manager, MAKEINTRESOURCEA(1))));
    ok(gS.entry != nullptr, "twain_32.dll lacks export 1");
    if (!gS.entry) return wine_test::Finish();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SourceTestParent";
    RegisterClassA(&windowClass);
    gS.parent = CreateWindowA("SourceTestParent", "Source test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, windowClass.hInstance, nullptr);

    struct Scenario {
        const char* name;
        void (*run)();
    };
    const Scenario scenarios[] = {{"protocol", TestProtocol},
                                  {"generated_pictures", TestGeneratedPictures},
                                  {"image_info_fails", TestImageInfoFails},
                                  {"camera_window", TestCameraWindow},
                                  {"camera_window_transfer", TestCameraWindowTransfer}};
    for (const Scenario& s : scenarios) {
        if (!Chosen(s.name, only) || wine_test::LeftOut(s.name)) continue;
        std::printf("scenario %s\n", s.name);
        std::fflush(stdout);
        s.run();
    }
    DeleteFileA(SettingsPath().c_str());
    DestroyWindow(gS.parent);
    return wine_test::Finish();
}
