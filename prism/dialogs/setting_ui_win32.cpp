// Windows build: what Setting shows. The dialogs' templates are resources of
// the module that holds this code (Prism.dll); a program that links the core
// itself has none, and the dialogs then do not open.
#include <windows.h>

#include <commctrl.h>

#include "../setting_ui.h"
#include "color_processing_dialog.h"
#include "dialog_ids.h"
#include "jpeg_quality_dialog.h"
#include "library.h"

namespace {

HINSTANCE OwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

}  // namespace

void ShowNoSetMessage(void* ownerWindow) {
    MessageBoxA(static_cast<HWND>(ownerWindow), kNoSetMessage, kNoSetCaption, MB_OK | MB_ICONINFORMATION);
}

int RunTuningDialog(void* ownerWindow) {
    ColorProcessingDialog dialog(OwnModule(), gPrism.currentSet, static_cast<HWND>(ownerWindow));
    return dialog.RunModal(OwnModule(), IDD_COLOR_PROCESSING, nullptr) == IDOK ? 1 : 0;
}

void RunQualityDialog() {
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    JpegQualityDialog dialog;
    dialog.RunModal(OwnModule(), IDD_JPEG_QUALITY, nullptr);
}
