// Helpers of the window tests: pump this thread's messages for a while or
// until something holds, wait for another thread's window, read the text of
// a message box, and run a script of user actions on a second thread (a
// modal dialog blocks the thread that opened it).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace ui_test {

// Dispatches this thread's messages until `done` holds or `ms` have passed;
// whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// Polls for a top-level window of that class and title (either may be null).
inline HWND WaitForWindow(const char* className, const char* title, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        if (HWND found = FindWindowA(className, title)) return found;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

inline std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct OwnedDialogSearch {
    HWND owner;
    const char* title;
    HWND found;
};

inline BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedDialogSearch*>(param);
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    if (WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

// Polls for a dialog (class #32770) of that title owned by `owner`.
inline HWND WaitForOwnedDialog(HWND owner, const char* title, DWORD ms) {
    OwnedDialogSearch search = {owner, title, nullptr};
    const DWORD start = GetTickCount();
    do {
        EnumWindows(MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

struct FindById {
    int id;
    HWND found;
};

inline BOOL CALLBACK MatchId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

// A control of the dialog or of one of its pages (child dialogs).
inline HWND Control(HWND dialog, int id) {
    FindById search = {id, nullptr};
    EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers the system's open or save dialog of that title, owned by `owner`,
// with a file; whether the dialog took it and closed.
inline bool ChooseFile(HWND owner, const char* title, const std::string& file) {
    HWND chooser = WaitForOwnedDialog(owner, title, 5000);
    if (!chooser) return false;
    for (int id : {0x47c, 0x480})  // the file-name box of either dialog style
        if (HWND box = GetDlgItem(chooser, id)) SendMessageA(box, WM_SETTEXT, 0, LPARAM(file.c_str()));
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 250 && IsWindow(chooser); ++i) Sleep(20);
    return !IsWindow(chooser);
}

inline BOOL CALLBACK KeepStaticText(HWND child, LPARAM out) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    const std::string text = WindowText(child);
    if (lstrcmpiA(cls, "Static") == 0 && !text.empty()) *reinterpret_cast<std::string*>(out) = text;
    return TRUE;
}

// The last non-empty static text of a dialog: a message box's message.
inline std::string MessageText(HWND box) {
    std::string text;
    EnumChildWindows(box, KeepStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

// Runs `script` on a thread of its own. The script may send messages to this
// thread's windows, so this thread pumps until Done() before it joins.
class Script {
public:
    explicit Script(std::function<void()> script)
        : thread_([this, script = std::move(script)] {
              script();
              done_ = true;
          }) {}
    ~Script() { Join(); }
    bool Done() const { return done_; }
    // Pumps until the script has ended (at most `ms`), then joins it.
    void Finish(DWORD ms = 10000) {
        PumpUntil([this] { return Done(); }, ms);
        Join();
    }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace ui_test
