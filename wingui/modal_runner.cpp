// Modal-dialog runner: keeps the stack of running modal windows.
#include "modal_runner.h"

namespace wingui {

INT_PTR ModalRunner::Run(Dialog& dialog, HINSTANCE module, int templateId, HWND parent) {
    stack_.push_back({&dialog, nullptr});
    const INT_PTR result = dialog.RunModal(module, templateId, parent);
    stack_.pop_back();
    return result;
}

HWND ModalRunner::CurrentWindow() const {
    if (stack_.empty()) return nullptr;
    const Entry& top = stack_.back();
    HWND window = top.dialog ? top.dialog->Handle() : top.window;
    return IsWindow(window) ? window : nullptr;
}

ModalRunner::SystemModal::SystemModal(ModalRunner& runner) : runner_(runner), level_(runner.stack_.size()) {
    runner_.stack_.push_back({nullptr, nullptr});
}

ModalRunner::SystemModal::~SystemModal() { runner_.stack_.pop_back(); }

void ModalRunner::SystemModal::SetWindow(HWND window) { runner_.stack_[level_].window = window; }

}  // namespace wingui
