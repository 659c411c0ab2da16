// Runs modal dialogs and records the one that currently runs, so that a
// closing request from outside can end it first. Dialogs opened from inside a
// running dialog nest: the innermost is current until it ends.
#pragma once

#include "dialog.h"

namespace wingui {

class ModalRunner {
public:
    INT_PTR Run(Dialog& dialog, HINSTANCE module, int templateId, HWND parent);
    // The innermost running dialog, or null.
    Dialog* Current() const { return current_; }

private:
    Dialog* current_ = nullptr;
};

}  // namespace wingui
