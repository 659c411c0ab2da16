// The shell's folder browser for the options dialog: file-system folders
// only, a caption and a prompt, the current folder preselected, OK always
// enabled. It runs as a recorded modal window, so that a closing request
// ends it like any other dialog.
#pragma once

#include <windows.h>

#include <string>

#include "modal_runner.h"

class CFolderPicker {
public:
    CFolderPicker(std::string caption, std::string prompt, std::string start);
    // True when the user chose a folder; Folder() then holds it.
    bool Run(HWND owner, wingui::ModalRunner& runner);
    const std::string& Folder() const { return folder_; }

private:
    static int CALLBACK Callback(HWND browser, UINT message, LPARAM param, LPARAM data);

    std::string caption_;
    std::string prompt_;
    std::string start_;
    std::string folder_;
    wingui::ModalRunner::SystemModal* modal_ = nullptr;  // while Run runs
};
