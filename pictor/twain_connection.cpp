// TWAIN session: manager, source, capability, enabling, events, transfers.
#include "twain_connection.h"

#include <cstring>

#include "pictor_settings.h"

namespace {

constexpr const char* kManagerLibrary = "TWAIN_32.DLL";
constexpr int kManagerEntryOrdinal = 1;
// A manager that never ends its list of sources cannot keep us asking.
constexpr int kMaxSources = 1000;

void CopyText(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof field);
    std::strncpy(field, text, sizeof field - 1);
}

std::string ProductNameOf(const TW_IDENTITY& identity) {
    const char* name = identity.ProductName;
    return std::string(name, strnlen(name, sizeof identity.ProductName));
}

std::string CamSetPath() {
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return kCamSetFile;
    return std::string(folder) + "\\" + kCamSetFile;
}

}  // namespace

CTwainConnection::CTwainConnection() = default;

CTwainConnection::~CTwainConnection() = default;

void CTwainConnection::SetupIdentity() {
    appIdentity_ = {};
    appIdentity_.Id = 0;
    appIdentity_.Version.MajorNum = 3;
    appIdentity_.Version.MinorNum = 5;
    appIdentity_.Version.Language = TWLG_ENGLISH_USA;
    appIdentity_.Version.Country = TWCY_USA;
    CopyText(appIdentity_.Version.Info, "3.5");
    appIdentity_.ProtocolMajor = 1;
    appIdentity_.ProtocolMinor = 8;
    appIdentity_.SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(appIdentity_.Manufacturer, "QUENT");
    CopyText(appIdentity_.ProductFamily, "Generic");
    CopyText(appIdentity_.ProductName, "Twain Test");
}

bool CTwainConnection::SelectSource() {
    if (!OpenManager() || !managerOpen_) return false;
    FindSourceByName();
    return Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &sourceIdentity_);
}

bool CTwainConnection::OpenSource() {
    if (module_ && managerOpen_) {
        FindSourceByName();
        sourceOpen_ = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &sourceIdentity_);
    }
    return managerOpen_ && sourceOpen_;
}

int CTwainConnection::ShouldTransfer(const TW_IMAGEINFO&) { return 0; }

void CTwainConnection::DisableSource() {
    if (!sourceEnabled_) return;
    TW_USERINTERFACE ui = {};
    ui.hParent = parent_;
    Call(&sourceIdentity_, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    sourceEnabled_ = false;
}

bool CTwainConnection::CanCloseOnRequest() { return true; }

bool CTwainConnection::Acquire(int count) {
    if (!OpenManager()) return false;
    if ((!managerOpen_ || !sourceOpen_) && !OpenSource()) return false;
    if (!SetTransferCount(count)) return false;
    return EnableSource();
}

bool CTwainConnection::ProcessMessage(MSG& msg) {
    if (!sourceEnabled_ || !entry_) return false;
    TW_EVENT event = {};
    event.pEvent = &msg;
    event.TWMessage = MSG_NULL;
    Call(&sourceIdentity_, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool consumed = lastReturnCode_ == TWRC_DSEVENT;
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        TransferLoop();
        break;
    case MSG_CLOSEDSREQ:
        if (CanCloseOnRequest()) {
            CloseSource();
            Unload();
        }
        break;
    default:
        break;
    }
    return consumed;
}

void CTwainConnection::CloseSource() {
    if (!managerOpen_ || !sourceOpen_) return;
    DisableSource();
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &sourceIdentity_);
    sourceOpen_ = false;
}

void CTwainConnection::CloseManager() {
    if (!managerOpen_) return;
    CloseSource();
    HWND parent = parent_;
    Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent);
    managerOpen_ = false;
    // A hidden program ends with its connection.
    if (parent_ && IsWindow(parent_) && !IsWindowVisible(parent_)) PostMessageA(parent_, WM_CLOSE, 0, 0);
}

void CTwainConnection::Unload() {
    if (!module_) return;
    CloseManager();
    FreeLibrary(module_);
    module_ = nullptr;
    entry_ = nullptr;
}

bool CTwainConnection::Call(TW_IDENTITY* destination, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message,
                            TW_MEMREF data) {
    if (!entry_) return false;
    lastReturnCode_ = entry_(&appIdentity_, destination, group, type, message, data);
    if (lastReturnCode_ != TWRC_SUCCESS && type != DAT_EVENT) {
        status_ = {};
        entry_(&appIdentity_, destination, DG_CONTROL, DAT_STATUS, MSG_GET, &status_);
    }
    return lastReturnCode_ == TWRC_SUCCESS;
}

bool CTwainConnection::OpenManager() {
    if (module_ && entry_) return true;
    appIdentity_ = {};
    if (!parent_ || !IsWindow(parent_)) return false;
    module_ = LoadLibraryA(kManagerLibrary);
    if (!module_) return false;
    entry_ = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(module_, MAKEINTRESOURCEA(kManagerEntryOrdinal))));
    if (!entry_) {
        FreeLibrary(module_);
        module_ = nullptr;
        return false;
    }
    SetupIdentity();
    HWND parent = parent_;
    managerOpen_ = Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent);
    return true;
}

void CTwainConnection::FindSourceByName() {
    const std::string wanted = ReadSourceProductName(CamSetPath());
    TW_IDENTITY candidate = {};
    bool more = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, &candidate);
    for (int n = 0; more && n < kMaxSources; ++n) {
        if (ProductNameOf(candidate) == wanted) {
            sourceIdentity_ = candidate;
            return;
        }
        candidate = {};
        more = Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, &candidate);
    }
    sourceIdentity_ = {};
    Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &sourceIdentity_);
}

bool CTwainConnection::SetTransferCountAs(TW_UINT16 itemType, TW_UINT16 value) {
    TW_CAPABILITY capability = {};
    capability.Cap = CAP_XFERCOUNT;
    capability.ConType = TWON_ONEVALUE;
    capability.hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    if (!capability.hContainer) return false;
    if (auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(capability.hContainer))) {
        one->ItemType = itemType;
        one->Item = value;
        GlobalUnlock(capability.hContainer);
    }
    const bool set = Call(&sourceIdentity_, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(capability.hContainer);
    return set;
}

bool CTwainConnection::SetTransferCount(int count) {
    if (SetTransferCountAs(TWTY_INT16, TW_UINT16(count))) return true;
    if (lastReturnCode_ != TWRC_CHECKSTATUS) return false;
    // The source took something else: set its own current value back, unsigned.
    TW_CAPABILITY current = {};
    current.Cap = CAP_XFERCOUNT;
    current.ConType = TWON_DONTCARE16;
    if (!Call(&sourceIdentity_, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &current)) return false;
    TW_UINT32 value = 0;
    bool read = false;
    if (current.hContainer) {
        if (current.ConType == TWON_ONEVALUE && GlobalSize(current.hContainer) >= sizeof(TW_ONEVALUE)) {
            if (auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(current.hContainer))) {
                value = one->Item;
                read = true;
                GlobalUnlock(current.hContainer);
            }
        }
        GlobalFree(current.hContainer);
    }
    return read && SetTransferCountAs(TWTY_UINT16, TW_UINT16(value));
}

bool CTwainConnection::EnableSource() {
    if (sourceEnabled_) return false;
    TW_USERINTERFACE ui = {};
    ui.ShowUI = 1;
    ui.hParent = parent_;
    sourceEnabled_ = Call(&sourceIdentity_, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    return sourceEnabled_;
}

TW_UINT16 CTwainConnection::EndTransfer() {
    TW_PENDINGXFERS pending = {};
    Call(&sourceIdentity_, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    return pending.Count;
}

void CTwainConnection::ResetTransfers() {
    TW_PENDINGXFERS pending = {};
    Call(&sourceIdentity_, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

void CTwainConnection::TransferLoop() {
    TW_UINT16 pending = 0;
    do {
        TW_IMAGEINFO info = {};
        // A source that refuses the image information would be asked for
        // ever: its pending transfers are reset instead.
        if (!Call(&sourceIdentity_, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info)) {
            ResetTransfers();
            return;
        }
        const int decision = ShouldTransfer(info);
        if (decision == 2) {
            ResetTransfers();
            return;
        }
        if (decision == 0) {
            TW_HANDLE handle = nullptr;
            Call(&sourceIdentity_, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
            if (lastReturnCode_ == TWRC_FAILURE) {
                ResetTransfers();
                return;
            }
            if (lastReturnCode_ == TWRC_XFERDONE && handle) {
                OnImage(static_cast<HGLOBAL>(handle), info);
                GlobalUnlock(handle);
                GlobalFree(handle);
            }
        }
        pending = EndTransfer();
    } while (pending != 0);
}
