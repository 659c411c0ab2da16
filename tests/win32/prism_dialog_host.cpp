// Not a test: opens one of Prism.dll's dialogs for a while, so that
// scripts/screenshot-prism-dialogs.sh can take pictures of it.
//   prism_dialog_host PRISM_DLL tuning|quality SECONDS
// "tuning" develops a frame for set 1 first, shows the dialog narrow for
// SECONDS, then wide for SECONDS; "quality" expects Kiln.DLL beside the
// library (delegated mode). Both end with Cancel.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/dialog_ids.h"
#include "platform/platform.h"
#include "prism_api.h"
#include "ui_test_support.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: prism_dialog_host PRISM_DLL tuning|quality SECONDS\n");
        return 2;
    }
    const bool tuning = std::strcmp(argv[2], "tuning") == 0;
    const DWORD pause = DWORD(std::atoi(argv[3])) * 1000;
    HMODULE prism = LoadLibraryA(argv[1]);
    if (!prism) return 1;
    auto setting = platform::FindEntryAs<SettingEntry>(prism, "Setting");
    auto bufToBmp = platform::FindEntryAs<BufToFileEntry>(prism, "BufToBmp");
    if (tuning) {
        std::vector<std::uint8_t> frame(8 * 4 + 128, 90);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        bufToBmp(8, 4, frame.data(), (std::string(temp) + "host.bmp").c_str(), 0, 1);
    }
    const char* title = tuning ? "Color Processing Parameters" : "IP Setting";
    ui_test::Script user([&] {
        HWND dialog = ui_test::WaitForWindow("#32770", title, 5000);
        Sleep(pause);
        if (tuning) {
            PostMessageA(dialog, WM_COMMAND, IDC_WIDTH_TOGGLE, 0);
            Sleep(pause);
        }
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    setting(nullptr);
    user.Finish();
    FreeLibrary(prism);
    return 0;
}
