// CPictorApp: start-up steps, message loop, exit.
#include "pictor_app.h"

#include <commctrl.h>
#include <shellapi.h>

#include "bmp_doc.h"
#include "child_frame.h"
#include "pictor_ids.h"
#include "pictor_settings.h"
#include "pictor_state.h"

namespace {

constexpr const char* kIconFile = "Pictor.ico";

std::string OwnFolder(HINSTANCE instance) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(instance, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

HICON ProgramIcon(HINSTANCE instance) {
    const std::string file = ProgramFile(kIconFile);
    const HICON icon = ExtractIconA(instance, file.c_str(), 0);
    // ExtractIcon answers 1 for a file that is not an icon source.
    if (icon && icon != reinterpret_cast<HICON>(1)) return icon;
    return LoadIconA(instance, MAKEINTRESOURCEA(IDR_PICTYPE));
}

bool RegisterHiddenWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kPictorHideWindowClass;
    return RegisterClassExA(&wc) != 0;
}

void SetClassesValue(const std::string& key, const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), DWORD(value.size()));
}

// The document type for the shell: its identifier, description, icon and
// open command; the extension is taken only when no other type holds it.
void RegisterShellFileTypes(const wingui::DocStrings& strings) {
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string id = strings.fileTypeId;
    SetClassesValue(id, strings.fileTypeName);
    SetClassesValue(id + "\\DefaultIcon", std::string(program) + ",0");
    SetClassesValue(id + "\\shell\\open\\command", "\"" + std::string(program) + "\" \"%1\"");
    char current[256] = {};
    LONG size = sizeof current;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, strings.filterExt.c_str(), current, &size) != ERROR_SUCCESS ||
        current[0] == '\0' || id == current)
        SetClassesValue(strings.filterExt, id);
}

}  // namespace

bool CPictorApp::InitInstance(HINSTANCE instance) {
    gPictor.instance = instance;
    // 1. One copy at a time.
    if (!instances_.Enter()) {
        PostToCameraWindow(WM_PICTOR_RESTORE);
        return false;
    }
    // 2. A camera window that is open already is brought back instead.
    if (FindWindowA(kCameraHideWindowClass, nullptr)) {
        PostToCameraWindow(WM_PICTOR_RESTORE);
        return false;
    }
    // 3.
    if (!RegisterHiddenWindowClass(instance)) return false;
    // 4.
    gPictor.programFolder = OwnFolder(instance);
    gPictor.jpegQuality = ReadJpegQuality(ProgramFile(kPictorSettingsFile));
    gPictor.icon = ProgramIcon(instance);
    // 5. The common controls of the bars.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    // 6.
    template_ = std::make_unique<wingui::DocTemplate>(
        instance, IDR_PICTYPE, [] { return std::make_unique<CBmpDoc>(); },
        [this](wingui::Document& document, wingui::MdiFrame& frame) {
            return CChildFrame::Open(static_cast<CBmpDoc&>(document), *template_, frame);
        });
    docManager_ = std::make_unique<CDocManagerEx>(template_->Strings());
    gPictor.docManager = docManager_.get();
    // 7.
    frame_ = std::make_unique<CMainFrame>(*template_);
    if (!frame_->LoadFrame()) return false;
    // 8.
    RegisterShellFileTypes(template_->Strings());
    // 9. Hidden; nothing is opened from the command line.
    ShowWindow(frame_->Handle(), SW_HIDE);
    UpdateWindow(frame_->Handle());
    return true;
}

int CPictorApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (frame_ && frame_->IsAlive() && frame_->PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (frame_ && frame_->IsAlive()) frame_->OnIdle();
    }
    return int(msg.wParam);
}

int CPictorApp::ExitInstance() {
    frame_.reset();
    gPictor.docManager = nullptr;
    docManager_.reset();
    template_.reset();
    instances_.Leave();
    return 0;
}
