// Enlarged view: the request to the worker, the still and the clip, painting,
// the developers' system-menu extension, development again, closing.
#include "ui/enlarge_dlg.h"

#include <windows.h>

#include <commdlg.h>
#include <vfw.h>

#include <cstring>

#include "camera/frame_files.h"
#include "development.h"
#include "string_keys.h"
#include "vantage_ids.h"
#include "vantage_state.h"

namespace {

constexpr UINT kRequestDelayMs = 100;
constexpr LONG kPixelsPerMetre = 300;
constexpr WPARAM kSysCommandMask = 0xFFF0;  // the system's own low four bits
constexpr const char* kOpenRawItem = "Open RawFile";
constexpr const char* kTuningItem = "AurelIP";
constexpr const char kRawFileFilter[] = "All Files (*.*)\0*.*\0";
constexpr const char* kRawFileExtension = "bmp";
constexpr DWORD kMediaStyle =
    WS_CHILD | WS_VISIBLE | MCIWNDF_NOMENU | MCIWNDF_NOOPEN | MCIWNDF_NOERRORDLG | MCIWNDF_NOTIFYSIZE;

// Records the system's open dialog as the current modal window, for the
// closing request.
UINT_PTR CALLBACK RecordOpenDialog(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* info = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        reinterpret_cast<wingui::ModalRunner::SystemModal*>(info->lCustData)->SetWindow(GetParent(child));
    }
    return 0;
}

}  // namespace

bool CEnlargeDlg::OnInitDialog() {
    SetWindowTextA(Handle(), gVantage.strings.Message(kKeyCameraTitle).c_str());
    SetItemText(kProgressLabel, gVantage.strings.Lookup(kKeyProgressLabel, "").c_str());
    StartTimer(kTimerEnlarge, kRequestDelayMs);
    return true;
}

void CEnlargeDlg::OnTimer(UINT_PTR id) {
    if (id != kTimerEnlarge) return;
    StopTimer(id);
    // Without a worker the view stays empty, but it can be closed.
    if (!gVantage.worker.RequestEnlarged(Handle(), item_)) OnPrepared();
}

// The close button would cover the picture: it goes, the title bar's close
// stays.
void CEnlargeDlg::OnPrepared() {
    if (prepared_) return;
    prepared_ = true;
    gVantage.worker.TakeEnlarged(Handle(), shown_);
    ShowItem(kEnlargeProgressBar, false);
    ShowItem(kProgressLabel, false);
    SetWindowLongPtrA(Handle(), GWL_STYLE, GetWindowLongPtrA(Handle(), GWL_STYLE) | WS_SYSMENU);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EnableItem(kCloseButton, true);
    ShowItem(kCloseButton, false);
    if (shown_.clip)
        OpenClip();
    else if (!shown_.picture.Empty())
        FitAndCentre(shown_.picture.width, shown_.picture.height);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// The media window's size notification comes while the file opens, before
// it counts as open: the window is fitted once more afterwards.
void CEnlargeDlg::OpenClip() {
    media_ = MCIWndCreateA(Handle(), gVantage.instance, kMediaStyle, nullptr);
    if (!media_ || shown_.aviPath.empty() || MCIWndOpen(media_, shown_.aviPath.c_str(), 0) != 0) return;
    aviOpen_ = true;
    ShowWindow(media_, SW_SHOW);
    RECT r;
    GetWindowRect(media_, &r);
    FitAndCentre(r.right - r.left, r.bottom - r.top);
}

void CEnlargeDlg::FitAndCentre(int width, int height) {
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXFULLSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYFULLSCREEN) - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEnlargeDlg::Paint() {
    const ShownPicture& picture = shown_.picture;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client;
    GetClientRect(Handle(), &client);
    const RECT right = {picture.width, 0, client.right, client.bottom};
    const RECT below = {0, picture.height, picture.width, client.bottom};
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FillRect(dc, &below, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(picture.pixels.size());
    info.bmiHeader.biXPelsPerMeter = kPixelsPerMetre;
    info.bmiHeader.biYPelsPerMeter = kPixelsPerMetre;
    void* bits = nullptr;
    if (HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        std::memcpy(bits, picture.pixels.data(), picture.pixels.size());
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, section);
        BitBlt(dc, 0, 0, picture.width, picture.height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(section);
    }
    EndPaint(Handle(), &paint);
}

void CEnlargeDlg::OnRightButton(WPARAM keys) {
    if (!prepared_) return;
    if (shown_.clip) {
        MessageBeep(MB_OK);
        return;
    }
    if (menuExtended_ || !(keys & MK_CONTROL) || GetKeyState(VK_MENU) >= 0) return;
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kSysCommandOpenRaw, kOpenRawItem);
    AppendMenuA(menu, MF_STRING, kSysCommandTuning, kTuningItem);
    menuExtended_ = true;
}

bool CEnlargeDlg::OnSysCommand(WPARAM command) {
    switch (command & kSysCommandMask) {
    case kSysCommandTuning:
        gVantage.prism.Setting(Handle());
        return true;
    case kSysCommandOpenRaw:
        OpenRawFile();
        return true;
    }
    return false;
}

// A raw frame from disk (at most 307,328 bytes; its size gives the
// geometry), developed with the item's flip flag and format code.
void CEnlargeDlg::OpenRawFile() {
    char path[MAX_PATH] = {};
    OPENFILENAMEA info = {};
    info.lStructSize = sizeof info;
    info.hwndOwner = Handle();
    info.lpstrFilter = kRawFileFilter;
    info.lpstrFile = path;
    info.nMaxFile = sizeof path;
    info.lpstrDefExt = kRawFileExtension;
    info.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLEHOOK;
    info.lpfnHook = RecordOpenDialog;
    {
        wingui::ModalRunner::SystemModal modal(gVantage.modal);
        info.lCustData = reinterpret_cast<LPARAM>(&modal);
        if (!GetOpenFileNameA(&info) || !IsAlive()) return;
    }
    std::vector<std::uint8_t> raw(kRawBufferBytes, 0);
    const std::uint32_t bytes = ReadFileInto(path, raw.data(), kRawBufferBytes);
    if (bytes == 0) return;  // unreadable or empty: nothing to develop
    shown_.raw = std::move(raw);
    shown_.geometry = GeometryOfFile(bytes);
    Develop();
}

void CEnlargeDlg::Develop() {
    if (shown_.raw.empty()) return;
    if (DevelopToPicture(shown_.raw.data(), shown_.geometry.width, shown_.geometry.height, shown_.flip, shown_.set,
                         shown_.picture))
        InvalidateRect(Handle(), nullptr, TRUE);
}

bool CEnlargeDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case kMsgEnlargedReady:
        OnPrepared();
        break;
    case kMsgSettingsChanged:
        // A clip's frame is not shown: nothing to develop again.
        if (prepared_ && !shown_.clip) Develop();
        break;
    case MCIWNDM_NOTIFYSIZE:
        if (aviOpen_) {
            RECT r;
            GetWindowRect(media_, &r);
            FitAndCentre(r.right - r.left, r.bottom - r.top);
        }
        break;
    case WM_PAINT:
        if (shown_.picture.Empty()) return false;
        Paint();
        break;
    case WM_RBUTTONDOWN:
        OnRightButton(wParam);
        return false;  // then the default handling
    case WM_SYSCOMMAND:
        if (!OnSysCommand(wParam)) return false;
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

void CEnlargeDlg::CloseClip() {
    if (media_) {
        if (aviOpen_) MCIWndClose(media_);
        MCIWndDestroy(media_);
        media_ = nullptr;
    }
    aviOpen_ = false;
    // Written for this view, whether or not it opened.
    if (!shown_.aviPath.empty()) DeleteFileA(shown_.aviPath.c_str());
    shown_.aviPath.clear();
}

void CEnlargeDlg::OnCancel() {
    CloseClip();
    shown_ = CEnlargedItem();
    EndDialog(IDCANCEL);
}

// Also when the window goes without a closing command (with its owner).
void CEnlargeDlg::OnDestroy() { CloseClip(); }
