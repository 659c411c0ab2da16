// CPictorApp: the program's start-up (single copy, no open camera window,
// the hidden window's class, JPEG quality, the document template and
// manager, the hidden main frame, the shell's file type), its message loop
// and its exit.
#pragma once

#include <windows.h>

#include <memory>

#include "doc_manager_ex.h"
#include "doc_template.h"
#include "instance_counter.h"
#include "main_frame.h"

class CPictorApp {
public:
    // False when the program is not to run (the caller still calls ExitInstance).
    bool InitInstance(HINSTANCE instance);
    int Run();
    int ExitInstance();

private:
    CInstanceCounter instances_;
    std::unique_ptr<wingui::DocTemplate> template_;
    std::unique_ptr<CDocManagerEx> docManager_;
    std::unique_ptr<CMainFrame> frame_;
};
