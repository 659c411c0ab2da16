// Runs modal dialogs and records the one that currently runs, so that a
// closing request from outside can end it first. Dialogs opened from inside a
// running dialog nest: the innermost is current until it ends.
//
// Modal windows that the system runs (the shell's folder browser, say) are
// recorded too, through a SystemModal scope around the call that runs them;
// their window becomes known from their own initialisation callback.
#pragma once

#include <vector>

#include "dialog.h"

namespace wingui {

class ModalRunner {
public:
    INT_PTR Run(Dialog& dialog, HINSTANCE module, int templateId, HWND parent);

    // True while any modal window runs.
    bool Running() const { return !stack_.empty(); }
    // The innermost modal window; null while it runs but has no window yet
    // (or no more).
    HWND CurrentWindow() const;

    // Brackets a system-run modal window.
    class SystemModal {
    public:
        explicit SystemModal(ModalRunner& runner);
        ~SystemModal();
        SystemModal(const SystemModal&) = delete;
        SystemModal& operator=(const SystemModal&) = delete;
        // Called from the window's initialisation callback.
        void SetWindow(HWND window);

    private:
        ModalRunner& runner_;
        std::size_t level_;
    };

private:
    struct Entry {
        Dialog* dialog;  // null for a system-run window
        HWND window;     // a system-run window, once known
    };
    std::vector<Entry> stack_;
};

}  // namespace wingui
