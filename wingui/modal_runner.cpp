// Modal-dialog runner: keeps the current modal dialog for the length of its run.
#include "modal_runner.h"

namespace wingui {

INT_PTR ModalRunner::Run(Dialog& dialog, HINSTANCE module, int templateId, HWND parent) {
    Dialog* const outer = current_;
    current_ = &dialog;
    const INT_PTR result = dialog.RunModal(module, templateId, parent);
    current_ = outer;
    return result;
}

}  // namespace wingui
