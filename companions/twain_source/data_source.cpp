// The triplets of the data source, each checked against the state it is
// valid in; a refusal is TWRC_FAILURE with its condition code kept for
// DAT_STATUS. Everything runs on the application's thread.
#include "data_source.h"

#include <cstring>
#include <deque>
#include <string>

#include "camera_bridge.h"
#include "dib_images.h"
#include "source_settings.h"

using namespace twain;

namespace sim_source {

namespace {

enum SourceStateNumber { kLoaded = 3, kOpen = 4, kEnabled = 5, kTransferReady = 6, kTransferring = 7 };

constexpr char kEventClass[] = "SimSource_Events";
constexpr UINT kEventMessage = WM_APP + 0x51;
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 250;  // how soon a camera window closed by other means is noticed

struct SourceState {
    HINSTANCE instance = nullptr;
    int state = kLoaded;
    TW_UINT16 condition = TWCC_SUCCESS;
    SourceSettings settings;
    int xferCount = -1;      // -1: all pictures
    int transfersDone = 0;   // since the last MSG_XFERREADY
    std::deque<HGLOBAL> waiting;
    bool fromCamera = false;  // the waiting pictures came from the camera window
    bool cameraShown = false;
    bool closeRequested = false;
    bool closeAnnounced = false;
    HWND events = nullptr;
    CameraBridge camera;
};
SourceState gSource;

TW_UINT16 Fail(TW_UINT16 condition) {
    gSource.condition = condition;
    return TWRC_FAILURE;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(gSource.instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    std::string folder(path);
    const std::size_t slash = folder.rfind('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

void CopyText(char* field, const char* text) {
    std::strncpy(field, text, sizeof(TW_STR32) - 1);
    field[sizeof(TW_STR32) - 1] = '\0';
}

void FillIdentity(TW_IDENTITY* identity) {
    const TW_UINT32 id = identity->Id;  // the manager's to assign
    std::memset(identity, 0, sizeof *identity);
    identity->Id = id;
    identity->Version = {1, 0, TWLG_ENGLISH_USA, TWCY_USA, {}};
    CopyText(identity->Version.Info, "1.0");
    identity->ProtocolMajor = 1;
    identity->ProtocolMinor = 9;
    identity->SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(identity->Manufacturer, "VEXA");
    CopyText(identity->ProductFamily, "Digital Camera");
    CopyText(identity->ProductName, kProductName);
}

// --- waiting pictures and events ----------------------------------------

void FreeWaiting() {
    for (HGLOBAL image : gSource.waiting) GlobalFree(image);
    gSource.waiting.clear();
}

// Pictures still to be announced in this round, within the transfer count.
int PendingCount() {
    const int waiting = int(gSource.waiting.size());
    if (gSource.xferCount < 0) return waiting;
    const int allowed = gSource.xferCount - gSource.transfersDone;
    return allowed < waiting ? (allowed > 0 ? allowed : 0) : waiting;
}

void PostEvent() {
    if (gSource.events) PostMessageA(gSource.events, kEventMessage, 0, 0);
}

LRESULT CALLBACK EventWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Events are answered only through MSG_PROCESSEVENT; the watch timer keeps
    // a chance coming when a modal loop dispatched the posted message instead.
    if (message == WM_TIMER || message == kEventMessage) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateEventWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = EventWindowProc;
    windowClass.hInstance = gSource.instance;
    windowClass.lpszClassName = kEventClass;
    RegisterClassA(&windowClass);  // fails harmlessly when registered before
    gSource.events = CreateWindowExA(0, kEventClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, gSource.instance,
                                     nullptr);
    if (!gSource.events) return false;
    SetTimer(gSource.events, kWatchTimer, kWatchMs, nullptr);
    return true;
}

void DestroyEventWindow() {
    if (gSource.events) DestroyWindow(gSource.events);
    gSource.events = nullptr;
}

// What a message of the event window announces, if anything.
TW_UINT16 NextEvent() {
    for (HGLOBAL image : gSource.camera.TakeImages()) {
        gSource.waiting.push_back(image);
        gSource.fromCamera = true;
    }
    if (gSource.cameraShown && !gSource.camera.Window()) gSource.closeRequested = true;
    if (gSource.state != kEnabled) return MSG_NULL;
    gSource.transfersDone = 0;
    if (PendingCount() > 0) {
        gSource.state = kTransferReady;
        return MSG_XFERREADY;
    }
    if (gSource.closeRequested && !gSource.closeAnnounced) {
        gSource.closeAnnounced = true;
        return MSG_CLOSEDSREQ;
    }
    return MSG_NULL;
}

// Back in state 5 after the last picture of a round.
void EndRound() {
    FreeWaiting();
    gSource.state = kEnabled;
    if (gSource.fromCamera) gSource.camera.ReportTransferDone();
    gSource.fromCamera = false;
    if (gSource.settings.closeAfterTransfer) gSource.closeRequested = true;
    PostEvent();
}

// --- the triplets --------------------------------------------------------

TW_UINT16 OpenSource() {
    if (gSource.state != kLoaded) return Fail(TWCC_MAXCONNECTIONS);
    const std::string folder = OwnFolder();
    if (folder.empty()) return Fail(TWCC_OPERATIONERROR);
    gSource.settings = ReadSourceSettings(folder + "\\" + kSettingsFile);
    if (!gSource.camera.Load(folder)) return Fail(TWCC_OPERATIONERROR);
    if (!gSource.settings.scenes.empty() && !gSource.camera.LoadScenes(gSource.settings.scenes)) {
        gSource.camera.Unload();
        return Fail(TWCC_BADVALUE);
    }
    gSource.xferCount = -1;
    gSource.state = kOpen;
    return TWRC_SUCCESS;
}

TW_UINT16 Identity(TW_UINT16 message, TW_MEMREF data) {
    auto* identity = static_cast<TW_IDENTITY*>(data);
    switch (message) {
    case MSG_GET:
        if (!identity) return Fail(TWCC_BADVALUE);
        FillIdentity(identity);
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        if (!identity) return Fail(TWCC_BADVALUE);
        return OpenSource();
    case MSG_CLOSEDS:
        if (gSource.state != kOpen) return Fail(TWCC_SEQERROR);
        gSource.camera.Unload();
        gSource.state = kLoaded;
        return TWRC_SUCCESS;
    default:
        return Fail(TWCC_BADPROTOCOL);
    }
}

// A one-value container with the count as TWTY_INT16 (its 16 bits in the low
// half of the item, the high half zero).
TW_UINT16 AnswerCount(TW_CAPABILITY* capability, int count) {
    HGLOBAL container = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    if (!container) return Fail(TWCC_LOWMEMORY);
    auto* value = static_cast<TW_ONEVALUE*>(GlobalLock(container));
    value->ItemType = TWTY_INT16;
    value->Item = TW_UINT16(TW_INT16(count));
    GlobalUnlock(container);
    capability->ConType = TWON_ONEVALUE;
    capability->hContainer = container;
    return TWRC_SUCCESS;
}

TW_UINT16 SetCount(const TW_CAPABILITY* capability) {
    if (gSource.state != kOpen) return Fail(TWCC_SEQERROR);
    if (capability->ConType != TWON_ONEVALUE || !capability->hContainer ||
        GlobalSize(capability->hContainer) < sizeof(TW_ONEVALUE))
        return Fail(TWCC_BADVALUE);
    const auto* value = static_cast<const TW_ONEVALUE*>(GlobalLock(capability->hContainer));
    if (!value) return Fail(TWCC_BADVALUE);
    const TW_UINT16 type = value->ItemType;
    // The count is 16 bits whichever 16-bit type carries it: -1 may come back
    // as 65535 from an application that reads the count and sets it unsigned.
    const int count = TW_INT16(TW_UINT16(value->Item));
    GlobalUnlock(capability->hContainer);
    if ((type != TWTY_INT16 && type != TWTY_UINT16) || count == 0 || count < -1) return Fail(TWCC_BADVALUE);
    const int limit = gSource.settings.xferCountLimit;
    if (limit > 0 && (count == -1 || count > limit)) {
        gSource.xferCount = limit;
        return TWRC_CHECKSTATUS;
    }
    gSource.xferCount = count;
    return TWRC_SUCCESS;
}

TW_UINT16 Capability(TW_UINT16 message, TW_MEMREF data) {
    auto* capability = static_cast<TW_CAPABILITY*>(data);
    if (gSource.state < kOpen) return Fail(TWCC_SEQERROR);
    if (!capability) return Fail(TWCC_BADVALUE);
    if (capability->Cap != CAP_XFERCOUNT) return Fail(TWCC_CAPUNSUPPORTED);
    switch (message) {
    case MSG_GET:
    case MSG_GETCURRENT: return AnswerCount(capability, gSource.xferCount);
    case MSG_GETDEFAULT: return AnswerCount(capability, -1);
    case MSG_SET: return SetCount(capability);
    default: return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 Enable(const TW_USERINTERFACE* ui) {
    if (gSource.state != kOpen) return Fail(TWCC_SEQERROR);
    if (!ui) return Fail(TWCC_BADVALUE);
    if (!CreateEventWindow()) return Fail(TWCC_LOWMEMORY);
    gSource.closeRequested = gSource.closeAnnounced = gSource.cameraShown = false;
    gSource.fromCamera = false;
    TW_UINT16 result = TWRC_SUCCESS;
    const SourceSettings& s = gSource.settings;
    if (s.pictures > 0) {
        for (int i = 0; i < s.pictures; ++i) {
            HGLOBAL image = MakeGeneratedDib(i, s.pictureWidth, s.pictureHeight, s.pictureBits);
            if (!image) {
                FreeWaiting();
                DestroyEventWindow();
                return Fail(TWCC_LOWMEMORY);
            }
            gSource.waiting.push_back(image);
        }
    } else {
        if (!gSource.camera.OpenWindow(static_cast<HWND>(ui->hParent), gSource.events, kEventMessage)) {
            DestroyEventWindow();
            return Fail(TWCC_OPERATIONERROR);
        }
        gSource.cameraShown = true;
        // The camera is worked only through its window: asked to run without
        // one, the source shows it all the same and says so.
        if (!ui->ShowUI) result = TWRC_CHECKSTATUS;
    }
    gSource.state = kEnabled;
    PostEvent();
    return result;
}

TW_UINT16 Disable() {
    if (gSource.state != kEnabled) return Fail(TWCC_SEQERROR);
    gSource.camera.CloseWindow();
    for (HGLOBAL image : gSource.camera.TakeImages()) GlobalFree(image);
    FreeWaiting();
    DestroyEventWindow();
    gSource.state = kOpen;
    return TWRC_SUCCESS;
}

TW_UINT16 UserInterface(TW_UINT16 message, TW_MEMREF data) {
    switch (message) {
    case MSG_ENABLEDS: return Enable(static_cast<const TW_USERINTERFACE*>(data));
    case MSG_DISABLEDS: return Disable();
    default: return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ProcessEvent(TW_UINT16 message, TW_MEMREF data) {
    if (message != MSG_PROCESSEVENT) return Fail(TWCC_BADPROTOCOL);
    if (gSource.state < kEnabled) return Fail(TWCC_SEQERROR);
    auto* event = static_cast<TW_EVENT*>(data);
    if (!event || !event->pEvent) return Fail(TWCC_BADVALUE);
    const MSG* msg = static_cast<const MSG*>(event->pEvent);
    event->TWMessage = MSG_NULL;
    if (gSource.events && msg->hwnd == gSource.events) {
        event->TWMessage = NextEvent();
        return TWRC_DSEVENT;
    }
    // The camera window is a modeless dialog: its keyboard handling is ours.
    HWND camera = gSource.camera.Window();
    if (camera && IsDialogMessageA(camera, const_cast<MSG*>(msg))) return TWRC_DSEVENT;
    return TWRC_NOTDSEVENT;
}

TW_UINT16 ImageInfo(TW_UINT16 message, TW_MEMREF data) {
    if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    if (gSource.state != kTransferReady && gSource.state != kTransferring) return Fail(TWCC_SEQERROR);
    auto* info = static_cast<TW_IMAGEINFO*>(data);
    if (!info) return Fail(TWCC_BADVALUE);
    if (gSource.settings.imageInfoFails || gSource.waiting.empty()) return Fail(TWCC_OPERATIONERROR);
    const DibShape shape = DescribeDib(gSource.waiting.front());
    if (!shape.valid) return Fail(TWCC_OPERATIONERROR);
    std::memset(info, 0, sizeof *info);
    info->XResolution = info->YResolution = {72, 0};
    info->ImageWidth = shape.width;
    info->ImageLength = shape.height;
    info->SamplesPerPixel = 3;
    info->BitsPerSample[0] = info->BitsPerSample[1] = info->BitsPerSample[2] = 8;
    info->BitsPerPixel = TW_INT16(shape.bits);
    info->Planar = FALSE;
    info->PixelType = TWPT_RGB;
    info->Compression = TWCP_NONE;
    return TWRC_SUCCESS;
}

TW_UINT16 NativeTransfer(TW_UINT16 message, TW_MEMREF data) {
    if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    if (gSource.state != kTransferReady) return Fail(TWCC_SEQERROR);
    if (!data) return Fail(TWCC_BADVALUE);
    if (gSource.waiting.empty() || !DescribeDib(gSource.waiting.front()).valid) return Fail(TWCC_OPERATIONERROR);
    // The handle is the application's from here on.
    *static_cast<TW_HANDLE*>(data) = gSource.waiting.front();
    gSource.waiting.pop_front();
    gSource.state = kTransferring;
    return TWRC_XFERDONE;
}

TW_UINT16 PendingTransfers(TW_UINT16 message, TW_MEMREF data) {
    auto* pending = static_cast<TW_PENDINGXFERS*>(data);
    if (!pending) return Fail(TWCC_BADVALUE);
    switch (message) {
    case MSG_GET:
        if (gSource.state < kOpen) return Fail(TWCC_SEQERROR);
        pending->Count = TW_UINT16(gSource.state >= kTransferReady ? PendingCount() : 0);
        return TWRC_SUCCESS;
    case MSG_ENDXFER:
        if (gSource.state != kTransferReady && gSource.state != kTransferring) return Fail(TWCC_SEQERROR);
        if (gSource.state == kTransferReady && !gSource.waiting.empty()) {  // this picture is not wanted
            GlobalFree(gSource.waiting.front());
            gSource.waiting.pop_front();
        }
        ++gSource.transfersDone;
        pending->Count = TW_UINT16(PendingCount());
        if (pending->Count == 0)
            EndRound();
        else
            gSource.state = kTransferReady;
        return TWRC_SUCCESS;
    case MSG_RESET:
        if (gSource.state != kTransferReady) return Fail(TWCC_SEQERROR);
        pending->Count = 0;
        EndRound();
        return TWRC_SUCCESS;
    default:
        return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 Status(TW_UINT16 message, TW_MEMREF data, TW_UINT16 condition) {
    auto* status = static_cast<TW_STATUS*>(data);
    if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
    if (!status) return Fail(TWCC_BADVALUE);
    status->ConditionCode = condition;
    status->Reserved = 0;
    return TWRC_SUCCESS;
}

}  // namespace

TW_UINT16 HandleTriplet(TW_IDENTITY*, TW_UINT32 group, TW_UINT16 argument, TW_UINT16 message, TW_MEMREF data) {
    const TW_UINT16 lastCondition = gSource.condition;
    gSource.condition = TWCC_SUCCESS;
    if (group == DG_CONTROL) {
        switch (argument) {
        case DAT_IDENTITY: return Identity(message, data);
        case DAT_STATUS: return Status(message, data, lastCondition);
        case DAT_CAPABILITY: return Capability(message, data);
        case DAT_USERINTERFACE: return UserInterface(message, data);
        case DAT_EVENT: return ProcessEvent(message, data);
        case DAT_PENDINGXFERS: return PendingTransfers(message, data);
        default: break;
        }
    } else if (group == DG_IMAGE) {
        switch (argument) {
        case DAT_IMAGEINFO: return ImageInfo(message, data);
        case DAT_IMAGENATIVEXFER: return NativeTransfer(message, data);
        default: break;
        }
    }
    return Fail(TWCC_BADPROTOCOL);
}

void AttachSource(HINSTANCE instance) { gSource.instance = instance; }

void DetachSource() {
    // Unloaded while open: nothing of ours may outlive the code.
    gSource.camera.Unload();
    FreeWaiting();
    DestroyEventWindow();
    UnregisterClassA(kEventClass, gSource.instance);
}

}  // namespace sim_source
