// Pictor's entry point: start up, run, exit (the exit handling also runs
// after a start-up that ended early).
#include <windows.h>

#include "pictor_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CPictorApp app;
    const bool started = app.InitInstance(instance);
    const int result = started ? app.Run() : 0;
    app.ExitInstance();
    return result;
}
