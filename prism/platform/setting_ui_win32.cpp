// Windows build: the message box of Setting. The dialogs themselves are not
// part of this library yet, so they report Cancel.
#include <windows.h>

#include "../setting_ui.h"

void ShowNoSetMessage(void* ownerWindow) {
    MessageBoxA(static_cast<HWND>(ownerWindow), kNoSetMessage, kNoSetCaption, MB_OK | MB_ICONINFORMATION);
}

int RunTuningDialog(void*) { return 0; }
void RunQualityDialog() {}
