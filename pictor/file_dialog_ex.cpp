// CFileDialogEx: structure size, hook, type-change renaming.
#include "file_dialog_ex.h"

#include <commdlg.h>

#include <cstring>

namespace {

constexpr const char* kSaveAsTitle = "Save As";
constexpr int kFileNameCombo = 1148;  // the extended dialog's file-name field
constexpr int kFileNameEdit = 1152;   // the classic dialog's
// How much of OPENFILENAME the classic systems know.
const DWORD kClassicSize = OPENFILENAME_SIZE_VERSION_400A;

bool SystemTakesExtendedSize() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    OSVERSIONINFOA basic = {};
    basic.dwOSVersionInfoSize = sizeof basic;
    DWORD platform = 0, major = 0;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
        platform = extended.dwPlatformId;
        major = extended.dwMajorVersion;
    } else if (GetVersionExA(&basic)) {
        platform = basic.dwPlatformId;
        major = basic.dwMajorVersion;
    }
    return platform == VER_PLATFORM_WIN32_NT && major >= 5;
}

void CentreOn(HWND window, HWND owner) {
    RECT w, o;
    if (!GetWindowRect(window, &w)) return;
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &o)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
    const int x = o.left + ((o.right - o.left) - (w.right - w.left)) / 2;
    const int y = o.top + ((o.bottom - o.top) - (w.bottom - w.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CFileDialogEx::CFileDialogEx(std::vector<FileType> types, int initialType, const std::string& proposedName, HWND owner)
    : types_(std::move(types)), typeIndex_(initialType), owner_(owner) {
    std::strncpy(file_, proposedName.c_str(), sizeof file_ - 1);
}

std::string CFileDialogEx::ChangeExtension(const std::string& name, const std::string& extension) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return name;
    return name.substr(0, dot) + extension;
}

INT_PTR CFileDialogEx::DoModal() {
    std::string filter;
    for (const FileType& t : types_) {
        filter += t.description;
        filter += '\0';
        filter += t.pattern;
        filter += '\0';
    }
    filter += '\0';
    std::string defaultExtension = types_.empty() ? std::string() : types_.front().extension.substr(1);
    extendedSize_ = SystemTakesExtendedSize();
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = extendedSize_ ? sizeof ofn : kClassicSize;
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = DWORD(typeIndex_);
    ofn.lpstrFile = file_;
    ofn.nMaxFile = sizeof file_;
    ofn.lpstrTitle = kSaveAsTitle;
    ofn.lpstrDefExt = defaultExtension.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK |
                OFN_ENABLESIZING;
    ofn.lpfnHook = Hook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (!GetSaveFileNameA(&ofn)) return IDCANCEL;
    typeIndex_ = int(ofn.nFilterIndex);
    return IDOK;
}

void CFileDialogEx::OnTypeChange(HWND explorer, int typeIndex) const {
    if (typeIndex < 1 || typeIndex > int(types_.size())) return;
    // The field's text through the dialog's own messages, whatever kind of
    // control holds it (an extended combination box on some systems).
    char name[MAX_PATH * 2] = {};
    if (SendMessageA(explorer, CDM_GETSPEC, sizeof name, reinterpret_cast<LPARAM>(name)) < 0) return;
    const std::string renamed = ChangeExtension(name, types_[std::size_t(typeIndex - 1)].extension);
    if (renamed == name) return;
    SendMessageA(explorer, CDM_SETCONTROLTEXT, extendedSize_ ? kFileNameCombo : kFileNameEdit,
                 reinterpret_cast<LPARAM>(renamed.c_str()));
}

UINT_PTR CALLBACK CFileDialogEx::Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
        return 0;
    }
    if (message != WM_NOTIFY) return 0;
    auto* self = reinterpret_cast<CFileDialogEx*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (!self) return 0;
    // The hook is a child of the system's dialog.
    const HWND explorer = GetParent(dialog);
    switch (notify->hdr.code) {
    case CDN_INITDONE:
        CentreOn(explorer, self->owner_);
        break;
    case CDN_TYPECHANGE:
        self->OnTypeChange(explorer, int(notify->lpOFN->nFilterIndex));
        break;
    case CDN_FILEOK:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);  // accepted
        return 0;
    }
    return 0;
}
