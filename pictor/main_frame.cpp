// CMainFrame: creation, commands, the connection's images, closing.
#include "main_frame.h"

#include <shellapi.h>

#include <vector>

#include "about_dlg.h"
#include "bmp_doc.h"
#include "child_frame.h"
#include "doc_manager_ex.h"
#include "pictor_ids.h"
#include "pictor_state.h"

namespace {

constexpr const char* kFrameClass = "Pictor.MainFrame";
constexpr int kToolBarId = 0xE800;    // the framework's bar identifiers
constexpr int kStatusBarId = 0xE801;
constexpr int kToolBarCommands[] = {ID_ACQUIRE, 0, ID_FILE_SAVE_AS, 0, ID_APP_ABOUT};
constexpr int kChildWindowMenu = 2;  // "Window" in the document menu

}  // namespace

void PostToCameraWindow(UINT message) {
    if (HWND camera = FindWindowA(kCameraHideWindowClass, nullptr)) PostMessageA(camera, message, 0, 0);
}

CMainFrame::CMainFrame(wingui::DocTemplate& docTemplate) : template_(docTemplate), connection_(*this) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame() {
    if (!RegisterPictorClass(kFrameClass, CS_DBLCLKS, COLOR_APPWORKSPACE)) return false;
    char title[64] = "Pictor";
    LoadStringA(gPictor.instance, IDR_MAINFRAME, title, sizeof title);
    wingui::FrameMenus menus;
    menus.frame = LoadMenuA(gPictor.instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    menus.child = LoadMenuA(gPictor.instance, MAKEINTRESOURCEA(IDR_PICTYPE));
    menus.childWindowMenu = kChildWindowMenu;
    if (!CreateFrame(kFrameClass, title, WS_OVERLAPPEDWINDOW, menus, gPictor.instance))
        return false;
    SetAccelerators(LoadAcceleratorsA(gPictor.instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    toolBar_.Create(Handle(), gPictor.instance, IDR_MAINFRAME, kToolBarCommands,
                    int(sizeof kToolBarCommands / sizeof kToolBarCommands[0]), kToolBarId);
    statusBar_.Create(Handle(), gPictor.instance, kStatusBarId);
    SetBars(&toolBar_, &statusBar_);
    connection_.SetParentWindow(Handle());
    hiddenWindow_ = CreateWindowExA(0, kPictorHideWindowClass, kPictorHideWindowClass, WS_POPUP, 0, 0, 50, 50, nullptr,
                                    nullptr, gPictor.instance, nullptr);
    DragAcceptFiles(Handle(), TRUE);
    Post(WM_COMMAND, ID_ACQUIRE);
    return true;
}

bool CMainFrame::PreTranslateMessage(MSG& msg) {
    // While the source is enabled it sees every message first; our own
    // accelerators then wait.
    if (connection_.IsSourceEnabled()) return connection_.ProcessMessage(msg);
    return MdiFrame::PreTranslateMessage(msg);
}

void CMainFrame::Connection::OnImage(HGLOBAL dib, const TW_IMAGEINFO&) { frame_.OnImage(dib); }

void CMainFrame::OnImage(HGLOBAL dib) {
    auto* document = static_cast<CBmpDoc*>(template_.OpenNew(*this));
    if (!document) return;
    document->LoadFromDib(dib);
    document->UpdateAllViews();
    document->AutoSave();
}

void CMainFrame::OnAcquire() {
    connection_.Acquire(-1);
    PostToCameraWindow(WM_PICTOR_ANNOUNCE);
}

void CMainFrame::ToggleBar(int command) {
    if (command == ID_VIEW_TOOLBAR)
        toolBar_.Show(!toolBar_.IsShown());
    else
        statusBar_.Show(!statusBar_.IsShown());
    RecalcLayout();
}

bool CMainFrame::CloseAllDocuments() {
    // Each modified document is offered for saving; a cancel keeps them all.
    for (const auto& document : template_.Documents()) {
        auto* picture = static_cast<CBmpDoc*>(document.get());
        if (!gPictor.docManager->SaveModified(*picture, Handle())) return false;
    }
    // Each document goes with its last frame: close them from a list of their own.
    std::vector<wingui::Document*> documents;
    for (const auto& document : template_.Documents()) documents.push_back(document.get());
    for (wingui::Document* document : documents) document->CloseAllFrames();
    return true;
}

void CMainFrame::OpenDroppedFiles(HDROP drop) {
    // The document type has no reader for picture files: a dropped file
    // opens as an empty document under its name.
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        if (!DragQueryFileA(drop, i, path, sizeof path)) continue;
        if (wingui::Document* document = template_.OpenNew(*this)) document->SetPath(path);
    }
    DragFinish(drop);
}

bool CMainFrame::OnCommand(int id, int, HWND) {
    CBmpDoc* active = DocumentOfFrame(ActiveChild());
    switch (id) {
    case ID_ACQUIRE:
        OnAcquire();
        return true;
    case ID_FILE_SAVE_AS:
        if (active) gPictor.docManager->SaveAs(*active, Handle());
        return true;
    case ID_FILE_CLOSE:
        if (HWND child = ActiveChild()) SendMessageA(child, WM_CLOSE, 0, 0);
        return true;
    case ID_APP_ABOUT:
        CAboutDlg().Run(Handle());
        return true;
    case ID_APP_EXIT:
        Post(WM_CLOSE);
        return true;
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
        ToggleBar(id);
        return true;
    case ID_WINDOW_NEW:
        if (active) template_.AddFrame(*active, *this);
        return true;
    case ID_WINDOW_CASCADE:
        SendMessageA(Client(), WM_MDICASCADE, 0, 0);
        return true;
    case ID_WINDOW_TILE_HORZ:
        SendMessageA(Client(), WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return true;
    case ID_WINDOW_TILE_VERT:
        SendMessageA(Client(), WM_MDITILE, MDITILE_VERTICAL, 0);
        return true;
    case ID_WINDOW_ARRANGE:
        SendMessageA(Client(), WM_MDIICONARRANGE, 0, 0);
        return true;
    }
    return false;
}

bool CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_CLOSE:
        connection_.Unload();
        if (!CloseAllDocuments()) {
            result = 0;
            return true;
        }
        Destroy();
        return true;
    case WM_DROPFILES:
        OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return true;
    case WM_INITMENUPOPUP: {
        const HMENU menu = reinterpret_cast<HMENU>(wParam);
        CheckMenuItem(menu, ID_VIEW_TOOLBAR, toolBar_.IsShown() ? MF_CHECKED : MF_UNCHECKED);
        CheckMenuItem(menu, ID_VIEW_STATUS_BAR, statusBar_.IsShown() ? MF_CHECKED : MF_UNCHECKED);
        const UINT withDocument = DocumentOfFrame(ActiveChild()) ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem(menu, ID_FILE_SAVE_AS, withDocument);
        return false;
    }
    }
    return MdiFrame::OnMessage(message, wParam, lParam, result);
}

void CMainFrame::OnDestroy() {
    if (hiddenWindow_) DestroyWindow(hiddenWindow_);
    hiddenWindow_ = nullptr;
    PostQuitMessage(0);
}
