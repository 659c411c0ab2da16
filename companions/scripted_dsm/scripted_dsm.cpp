// A scripted TWAIN data source manager for Pictor's tests: a TWAIN_32.DLL
// that, placed beside the program, is loaded instead of the system's. It
// plays the manager and one source at once, as "ScriptedDsm.ini" beside it
// says, and writes every call it receives to "dsm.log" beside it, one line
// each, so that a test can check the order of the calls.
//
//   [Sources] Names=Alpha,Twain for VEXA   Default=<index>
//   [Source]  Images=<n>  Depth=24|32  XferCount=Accept|CheckStatus
//             CurrentCount=<n>  ImageInfo=Ok|Fail  CloseWhenDone=0|1
//
// Events reach the application as the standard has them: the source posts a
// message of its own to the application's window and answers it from
// MSG_PROCESSEVENT with MSG_XFERREADY or MSG_CLOSEDSREQ.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "twain_standard.h"

namespace {

constexpr WPARAM kTransferReady = 1;
constexpr WPARAM kCloseRequest = 2;

struct Script {
    std::vector<std::string> names;
    int defaultSource = 0;
    int images = 0;
    int depth = 24;
    bool checkStatus = false;
    int currentCount = 0;
    bool imageInfoFails = false;
    bool closeWhenDone = false;
};

struct State {
    std::string folder;
    Script script;
    bool loaded = false;
    UINT eventMessage = 0;
    HWND parent = nullptr;
    int nextSource = 0;
    int pending = 0;
    int transferred = 0;
    int sets = 0;
};

State gState;

std::string OwnFolder() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnFolder), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string Text(const char* section, const char* key, const char* fallback) {
    char value[512] = {};
    GetPrivateProfileStringA(section, key, fallback, value, sizeof value, (gState.folder + "\\ScriptedDsm.ini").c_str());
    return value;
}

int Number(const char* section, const char* key, int fallback) {
    return int(GetPrivateProfileIntA(section, key, fallback, (gState.folder + "\\ScriptedDsm.ini").c_str()));
}

void LoadScript() {
    if (gState.loaded) return;
    gState.loaded = true;
    gState.folder = OwnFolder();
    Script& s = gState.script;
    const std::string names = Text("Sources", "Names", "Twain for VEXA");
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = names.find(',', start);
        s.names.push_back(names.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    s.defaultSource = Number("Sources", "Default", 0);
    s.images = Number("Source", "Images", 0);
    s.depth = Number("Source", "Depth", 24);
    s.checkStatus = Text("Source", "XferCount", "Accept") == "CheckStatus";
    s.currentCount = Number("Source", "CurrentCount", 0);
    s.imageInfoFails = Text("Source", "ImageInfo", "Ok") == "Fail";
    s.closeWhenDone = Number("Source", "CloseWhenDone", 0) != 0;
    gState.eventMessage = RegisterWindowMessageA("ScriptedDsm.Event");
}

void Log(const std::string& line) {
    if (FILE* f = std::fopen((gState.folder + "\\dsm.log").c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

void FillIdentity(TW_IDENTITY& identity, int index) {
    identity = {};
    identity.Id = TW_UINT32(100 + index);
    lstrcpynA(identity.ProductName, gState.script.names[std::size_t(index)].c_str(), sizeof identity.ProductName);
    lstrcpynA(identity.Manufacturer, "Scripted", sizeof identity.Manufacturer);
}

void PostEvent(WPARAM which) {
    if (gState.parent) PostMessageA(gState.parent, gState.eventMessage, which, 0);
}

// Picture n: 16 + 8n wide, 12 high, one colour per picture.
int ImageWidth(int n) { return 16 + 8 * n; }
constexpr int kImageHeight = 12;

HGLOBAL MakeDib(int n) {
    const int width = ImageWidth(n);
    const int bytesPerPixel = gState.script.depth / 8;
    const DWORD row = DWORD((width * bytesPerPixel + 3) / 4 * 4);
    HGLOBAL block = GlobalAlloc(GHND, 40 + row * kImageHeight);
    auto* p = static_cast<BYTE*>(GlobalLock(block));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(p);
    header->biSize = 40;
    header->biWidth = width;
    header->biHeight = kImageHeight;
    header->biPlanes = 1;
    header->biBitCount = WORD(gState.script.depth);
    header->biXPelsPerMeter = header->biYPelsPerMeter = 3780;
    for (int y = 0; y < kImageHeight; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* px = p + 40 + DWORD(y) * row + DWORD(x * bytesPerPixel);
            px[0] = BYTE(40 * n);         // blue
            px[1] = BYTE(8 * y);          // green
            px[2] = BYTE(200 - 40 * n);   // red
        }
    GlobalUnlock(block);
    return block;
}

TW_UINT16 Identity(TW_UINT16 message, TW_IDENTITY* data) {
    const int count = int(gState.script.names.size());
    switch (message) {
    case MSG_GETFIRST:
        gState.nextSource = 0;
        // fall through
    case MSG_GETNEXT:
        Log(message == MSG_GETFIRST ? "GETFIRST" : "GETNEXT");
        if (gState.nextSource >= count) return TWRC_ENDOFLIST;
        FillIdentity(*data, gState.nextSource++);
        return TWRC_SUCCESS;
    case MSG_GETDEFAULT:
        Log("GETDEFAULT");
        if (gState.script.defaultSource >= count) return TWRC_FAILURE;
        FillIdentity(*data, gState.script.defaultSource);
        return TWRC_SUCCESS;
    case MSG_OPENDS:
        Log("OPENDS " + std::string(data->ProductName));
        return TWRC_SUCCESS;
    case MSG_CLOSEDS:
        Log("CLOSEDS");
        return TWRC_SUCCESS;
    }
    return TWRC_FAILURE;
}

TW_UINT16 Capability(TW_UINT16 message, TW_CAPABILITY* capability) {
    if (message == MSG_SET) {
        std::string line = "SET " + std::to_string(capability->Cap) + " " + std::to_string(capability->ConType);
        if (auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(capability->hContainer))) {
            line += " " + std::to_string(one->ItemType) + " " + std::to_string(one->Item);
            GlobalUnlock(capability->hContainer);
        }
        Log(line);
        return gState.script.checkStatus && gState.sets++ == 0 ? TWRC_CHECKSTATUS : TWRC_SUCCESS;
    }
    if (message == MSG_GET) {
        Log("GET " + std::to_string(capability->Cap) + " " + std::to_string(capability->ConType));
        capability->ConType = TWON_ONEVALUE;
        capability->hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(capability->hContainer));
        one->ItemType = TWTY_INT16;
        one->Item = TW_UINT32(gState.script.currentCount);
        GlobalUnlock(capability->hContainer);
        return TWRC_SUCCESS;
    }
    return TWRC_FAILURE;
}

void TransfersEnded() {
    gState.pending = 0;
    if (gState.script.closeWhenDone) PostEvent(kCloseRequest);
}

}  // namespace

extern "C" TW_UINT16 WINAPI DSM_Entry(pTW_IDENTITY, pTW_IDENTITY, TW_UINT32 group, TW_UINT16 type,
                                       TW_UINT16 message, TW_MEMREF data) {
    LoadScript();
    switch (type) {
    case DAT_PARENT:
        Log(message == MSG_OPENDSM ? "OPENDSM" : "CLOSEDSM");
        return TWRC_SUCCESS;
    case DAT_IDENTITY:
        return Identity(message, static_cast<TW_IDENTITY*>(data));
    case DAT_CAPABILITY:
        return Capability(message, static_cast<TW_CAPABILITY*>(data));
    case DAT_STATUS:
        Log("STATUS");
        static_cast<TW_STATUS*>(data)->ConditionCode = TWCC_BUMMER;
        return TWRC_SUCCESS;
    case DAT_USERINTERFACE: {
        auto* ui = static_cast<TW_USERINTERFACE*>(data);
        if (message == MSG_DISABLEDS) {
            Log("DISABLEDS");
            return TWRC_SUCCESS;
        }
        Log("ENABLEDS " + std::to_string(ui->ShowUI));
        gState.parent = static_cast<HWND>(ui->hParent);
        gState.pending = gState.script.images;
        if (gState.pending > 0)
            PostEvent(kTransferReady);
        else if (gState.script.closeWhenDone)
            PostEvent(kCloseRequest);
        return TWRC_SUCCESS;
    }
    case DAT_EVENT: {
        auto* event = static_cast<TW_EVENT*>(data);
        const MSG* msg = static_cast<const MSG*>(event->pEvent);
        event->TWMessage = MSG_NULL;
        if (!msg || msg->message != gState.eventMessage) return TWRC_NOTDSEVENT;
        event->TWMessage = msg->wParam == kTransferReady ? MSG_XFERREADY : MSG_CLOSEDSREQ;
        Log(msg->wParam == kTransferReady ? "EVENT XFERREADY" : "EVENT CLOSEDSREQ");
        return TWRC_DSEVENT;
    }
    case DAT_IMAGEINFO: {
        Log("IMAGEINFO");
        if (gState.script.imageInfoFails || gState.pending <= 0) return TWRC_FAILURE;
        auto* info = static_cast<TW_IMAGEINFO*>(data);
        info->ImageWidth = ImageWidth(gState.transferred);
        info->ImageLength = kImageHeight;
        info->BitsPerPixel = TW_INT16(gState.script.depth);
        info->SamplesPerPixel = 3;
        return TWRC_SUCCESS;
    }
    case DAT_IMAGENATIVEXFER:
        Log("NATIVEXFER " + std::to_string(gState.transferred));
        if (gState.pending <= 0) return TWRC_FAILURE;
        *static_cast<TW_HANDLE*>(data) = MakeDib(gState.transferred++);
        return TWRC_XFERDONE;
    case DAT_PENDINGXFERS: {
        auto* pending = static_cast<TW_PENDINGXFERS*>(data);
        if (message == MSG_RESET) {
            Log("RESET");
            TransfersEnded();
            pending->Count = 0;
            return TWRC_SUCCESS;
        }
        if (gState.pending > 0) --gState.pending;
        pending->Count = TW_UINT16(gState.pending);
        Log("ENDXFER " + std::to_string(gState.pending));
        if (gState.pending == 0) TransfersEnded();
        return TWRC_SUCCESS;
    }
    }
    (void)group;
    return TWRC_FAILURE;
}
