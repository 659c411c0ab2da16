// Pictor's process-wide state.
#include "pictor_state.h"

#include "wnd.h"

PictorState gPictor;

std::string ProgramFile(const char* name) { return gPictor.programFolder + "\\" + name; }

bool RegisterPictorClass(const char* name, UINT style, int backgroundColour) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(gPictor.instance, name, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.style = style;
    wc.hInstance = gPictor.instance;
    wc.hIcon = gPictor.icon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(backgroundColour + 1));
    wc.lpszClassName = name;
    return wingui::Wnd::RegisterWindowClass(wc) != 0;
}
