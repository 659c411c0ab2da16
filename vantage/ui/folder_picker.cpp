// Folder browser: preselection, caption, OK kept enabled.
#include "folder_picker.h"

#include <shlobj.h>

CFolderPicker::CFolderPicker(std::string caption, std::string prompt, std::string start)
    : caption_(std::move(caption)), prompt_(std::move(prompt)), start_(std::move(start)) {
    // The browser finds "C:\x" but not "C:\x\".
    if (start_.size() > 1 && start_.back() == '\\') start_.pop_back();
}

bool CFolderPicker::Run(HWND owner, wingui::ModalRunner& runner) {
    wingui::ModalRunner::SystemModal modal(runner);
    modal_ = &modal;
    const HRESULT com = CoInitialize(nullptr);
    char display[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = prompt_.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    bool chosen = false;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(item, path)) {
            folder_ = path;
            chosen = true;
        }
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    modal_ = nullptr;
    return chosen;
}

int CALLBACK CFolderPicker::Callback(HWND browser, UINT message, LPARAM, LPARAM data) {
    const auto* self = reinterpret_cast<const CFolderPicker*>(data);
    if (message == BFFM_INITIALIZED) {
        self->modal_->SetWindow(browser);
        SetWindowTextA(browser, self->caption_.c_str());
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->start_.c_str()));
    }
    if (message == BFFM_INITIALIZED || message == BFFM_SELCHANGED) SendMessageA(browser, BFFM_ENABLEOK, 0, TRUE);
    return 0;
}
