// Vantage's process-wide state and its small shared helpers.
#include "vantage_state.h"

VantageState gVantage;

std::string VantageFile(const char* name) { return gVantage.folder + "\\" + name; }

void ApplyText(HWND window, int key) {
    if (!window) return;
    const std::string text = gVantage.strings.Text(key);
    if (!CStringsFile::Keeps(text)) SetWindowTextA(window, text.c_str());
}
