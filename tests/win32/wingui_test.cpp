// The in-house window layer under Wine: a window object's binding, message
// hooks, timers and lifetime; dialogs from templates of another module
// (Lexis.DLL) with control access; the modal runner's record of the current
// dialog; the scroll view; the worker thread; the owner-drawn buttons.
//   wingui_test LEXIS_DLL
#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

#include "dialog.h"
#include "icon_button.h"
#include "modal_runner.h"
#include "scroll_view.h"
#include "shaded_button.h"
#include "ui_test_support.h"
#include "wine_test.h"
#include "wnd.h"
#include "worker_thread.h"

using namespace ui_test;

namespace {

HMODULE gLexis = nullptr;
constexpr const char* kTestClass = "wingui_test.Window";
constexpr UINT kMsgAnswer = WM_APP + 1;
constexpr UINT kMsgDestroySelf = WM_APP + 2;

class TestWnd : public wingui::Wnd {
public:
    int commandId = 0, commandCode = -1, timerFires = 0, destroys = 0, finals = 0;
    bool finalDuringHandler = false, aliveAfterDestroy = true;

protected:
    bool OnCommand(int id, int code, HWND) override {
        commandId = id;
        commandCode = code;
        return true;
    }
    void OnTimer(UINT_PTR id) override {
        ++timerFires;
        StopTimer(id);  // one-shot
    }
    void OnDestroy() override { ++destroys; }
    void OnFinalMessage() override { ++finals; }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == kMsgAnswer) {
            result = LRESULT(wParam * 2);
            return true;
        }
        if (message == kMsgDestroySelf) {
            // The window goes while this handler runs: the object must stay.
            DestroyWindow(Handle());
            aliveAfterDestroy = IsAlive();
            finalDuringHandler = finals != 0;
            return true;
        }
        return false;
    }
};

bool CreateTestWindow(TestWnd& w) {
    const RECT rect = {10, 10, 210, 110};
    return w.Create(0, kTestClass, "test", WS_POPUP, rect, nullptr, GetModuleHandleA(nullptr));
}

void TestWindowBinding() {
    WNDCLASSEXA wc = {};
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTestClass;
    ok(wingui::Wnd::RegisterWindowClass(wc) != 0, "class registration failed");

    TestWnd w;
    ok(CreateTestWindow(w), "window creation failed");
    const HWND hwnd = w.Handle();
    ok(wingui::Wnd::FromHandle(hwnd) == &w, "FromHandle does not give the object");
    ok(wingui::Wnd::FromHandle(GetDesktopWindow()) == nullptr, "FromHandle answers for a foreign window");
    w.Send(WM_COMMAND, MAKEWPARAM(42, 7), 0);
    ok(w.commandId == 42 && w.commandCode == 7, "command hook got %d/%d, expected 42/7", w.commandId, w.commandCode);
    ok(w.Send(kMsgAnswer, 21) == 42, "message hook result is not the handler's");
    w.StartTimer(5, 10);
    PumpFor(200);
    ok(w.timerFires == 1, "one-shot timer fired %d times, expected 1", w.timerFires);
    w.Destroy();
    ok(w.destroys == 1 && w.finals == 1, "destroy/final hooks ran %d/%d times", w.destroys, w.finals);
    ok(!w.IsAlive() && wingui::Wnd::FromHandle(hwnd) == nullptr, "object still bound after destruction");

    TestWnd self;
    CreateTestWindow(self);
    self.Send(kMsgDestroySelf);
    ok(!self.aliveAfterDestroy, "object still alive inside its handler after DestroyWindow");
    ok(!self.finalDuringHandler, "final message came while a handler ran");
    ok(self.finals == 1, "final message came %d times after the handler, expected 1", self.finals);
}

class ControlsDlg : public wingui::Dialog {
public:
    int cancels = 0;

protected:
    void OnCancel() override {
        ++cancels;
        Dialog::OnCancel();
    }
};

void TestDialogControls() {
    ControlsDlg missing;
    ok(!missing.CreateModeless(gLexis, 9999, nullptr), "a missing template made a dialog");
    ok(!missing.IsAlive(), "object bound after a failed creation");

    ControlsDlg d;
    ok(d.CreateModeless(gLexis, 2003, nullptr), "template 2003 of Lexis.DLL gave no dialog");
    if (!d.IsAlive()) return;
    ok(d.HasItem(3016) && !d.HasItem(4242), "control lookup is wrong");
    d.SetItemText(3016, "123");
    ok(d.ItemText(3016) == "123", "edit text is \"%s\", expected 123", d.ItemText(3016).c_str());
    d.EnableItem(3015, false);
    ok(!d.IsItemEnabled(3015), "button 3015 still enabled");
    d.ShowItem(3014, false);
    ok(!d.IsItemVisible(3014), "label 3014 still visible");
    const RECT before = d.ItemRect(3015);
    d.MoveItem(3015, 10, 20);
    RECT r = d.ItemRect(3015);
    ok(r.left == 10 && r.top == 20 && r.right - r.left == before.right - before.left,
       "moved button at %ld,%ld width %ld", r.left, r.top, r.right - r.left);
    d.ResizeItem(3015, 80, 30);
    r = d.ItemRect(3015);
    ok(r.left == 10 && r.top == 20 && r.right == 90 && r.bottom == 50, "resized button is %ld,%ld-%ld,%ld", r.left,
       r.top, r.right, r.bottom);
    CreateWindowA("BUTTON", "check", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 10, d.Handle(),
                  reinterpret_cast<HMENU>(5000), nullptr, nullptr);
    d.SetCheck(5000, true);
    ok(d.IsChecked(5000), "check box not checked");
    d.SetCheck(5000, false);
    ok(!d.IsChecked(5000), "check box still checked");
    const HWND hwnd = d.Handle();
    d.Post(WM_COMMAND, IDCANCEL);
    PumpFor(50);
    ok(d.cancels == 1 && !IsWindow(hwnd), "IDCANCEL did not end the modeless dialog");
}

// Runs `inner` from inside `outer`; both note what the runner reports.
class OuterDlg : public wingui::Dialog {
public:
    OuterDlg(wingui::ModalRunner& runner, wingui::Dialog& inner) : runner_(runner), inner_(inner) {}
    bool currentAtInit = false, innerRan = false, currentAfterInner = false;

protected:
    bool OnInitDialog() override {
        currentAtInit = runner_.CurrentWindow() == Handle();
        Post(kMsgAnswer);
        return true;
    }
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message != kMsgAnswer) return false;
        innerRan = runner_.Run(inner_, gLexis, 2007, Handle()) == IDCANCEL;
        currentAfterInner = runner_.CurrentWindow() == Handle();
        return true;
    }

private:
    wingui::ModalRunner& runner_;
    wingui::Dialog& inner_;
};

class InnerDlg : public wingui::Dialog {
public:
    explicit InnerDlg(wingui::ModalRunner& runner) : runner_(runner) {}
    bool currentAtInit = false;

protected:
    bool OnInitDialog() override {
        currentAtInit = runner_.CurrentWindow() == Handle();
        return true;
    }

private:
    wingui::ModalRunner& runner_;
};

void TestModalRunner() {
    wingui::ModalRunner runner;
    InnerDlg inner(runner);
    OuterDlg outer(runner, inner);
    bool sawInner = false, sawOuter = false;
    Script user([&] {
        HWND about = WaitForWindow("#32770", "About Camera", 5000);
        sawInner = about != nullptr;
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 250 && FindWindowA("#32770", "About Camera"); ++i) Sleep(20);
        HWND options = FindWindowA("#32770", "Options");
        sawOuter = options != nullptr;
        PostMessageA(options, WM_COMMAND, IDOK, 0);
    });
    const INT_PTR result = runner.Run(outer, gLexis, 2003, nullptr);
    user.Join();
    ok(sawInner && sawOuter, "dialogs not found: inner %d outer %d", sawInner, sawOuter);
    ok(result == IDOK, "outer dialog ended with %d, expected IDOK", int(result));
    ok(outer.currentAtInit && inner.currentAtInit, "runner's current dialog wrong at init: outer %d inner %d",
       outer.currentAtInit, inner.currentAtInit);
    ok(outer.innerRan && outer.currentAfterInner, "after the inner dialog: ran %d, current back to outer %d",
       outer.innerRan, outer.currentAfterInner);
    ok(!runner.Running() && !runner.CurrentWindow(), "runner still records a dialog");
}

class TestView : public wingui::ScrollView {
public:
    int draws = 0;
    POINT origin = {1, 1};

protected:
    void OnDraw(HDC dc) override {
        ++draws;
        GetViewportOrgEx(dc, &origin);
    }
};

void TestScrollView() {
    TestWnd parent;
    const RECT frame = {0, 0, 400, 300};
    parent.Create(0, kTestClass, "view parent", WS_POPUP | WS_VISIBLE, frame, nullptr, GetModuleHandleA(nullptr));
    TestView view;
    const RECT area = {0, 0, 240, 160};
    ok(view.CreateView(parent.Handle(), area, 77), "view creation failed");
    HWND child = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE, 5, 40, 20, 20, view.Handle(), nullptr, nullptr, nullptr);
    view.SetScrollSizes({10, 1000});
    RECT client;
    GetClientRect(view.Handle(), &client);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(view.Handle(), SB_VERT, &info);
    ok(info.nMax == 999 && int(info.nPage) == client.bottom, "vertical bar range %d page %u, client %ld", info.nMax,
       info.nPage, client.bottom);

    view.ScrollTo({50, 30});
    ok(view.ScrollPosition().x == 0 && view.ScrollPosition().y == 30, "position %ld,%ld, expected 0,30",
       view.ScrollPosition().x, view.ScrollPosition().y);
    RECT c;
    GetWindowRect(child, &c);
    MapWindowPoints(nullptr, view.Handle(), reinterpret_cast<POINT*>(&c), 2);
    ok(c.left == 5 && c.top == 10, "child at %ld,%ld after scrolling, expected 5,10", c.left, c.top);
    UpdateWindow(view.Handle());
    InvalidateRect(view.Handle(), nullptr, TRUE);
    UpdateWindow(view.Handle());
    ok(view.draws > 0 && view.origin.x == 0 && view.origin.y == -30, "drawn %d times with origin %ld,%ld", view.draws,
       view.origin.x, view.origin.y);

    view.ScrollTo({0, 5000});
    ok(view.ScrollPosition().y == 1000 - client.bottom, "clamped position %ld, expected %ld", view.ScrollPosition().y,
       1000 - client.bottom);
    struct Step {
        int request;
        LONG expected;
    };
    const Step steps[] = {{SB_TOP, 0}, {SB_LINEDOWN, 10}, {SB_PAGEDOWN, 110}, {SB_LINEUP, 100}, {SB_PAGEUP, 0}, {SB_PAGEUP, 0}};
    for (const Step& s : steps) {
        view.Send(WM_VSCROLL, MAKEWPARAM(s.request, 0));
        ok(view.ScrollPosition().y == s.expected, "scroll request %d gave %ld, expected %ld", s.request,
           view.ScrollPosition().y, s.expected);
    }
    parent.Destroy();
}

class TestWorker : public wingui::WorkerThread {
public:
    HANDLE handled = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD thread = 0;
    UINT message = 0;
    WPARAM wParam = 0;

    bool sawQuit = false;

protected:
    void OnThreadMessage(UINT m, WPARAM w, LPARAM) override {
        // WM_APP + 9: a long request that ends early when asked to quit.
        if (m == WM_APP + 9) {
            SetEvent(handled);
            for (int i = 0; i < 100 && !QuitRequested(); ++i) Sleep(20);
            sawQuit = QuitRequested();
            Sleep(300);
            return;
        }
        thread = GetCurrentThreadId();
        message = m;
        wParam = w;
        SetEvent(handled);
    }
};

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

void TestWorkerThread() {
    TestWorker worker;
    ok(!worker.IsStarted() && !worker.Post(WM_APP), "a worker that never started took a message");
    ok(worker.Start() && worker.IsStarted(), "worker did not start");
    ok(worker.Post(WM_APP + 5, 7), "posting to the worker failed");
    ok(WaitForSingleObject(worker.handled, 2000) == WAIT_OBJECT_0, "worker did not handle the message");
    ok(worker.message == WM_APP + 5 && worker.wParam == 7, "worker got %u/%u", worker.message, unsigned(worker.wParam));
    ok(worker.thread != 0 && worker.thread != GetCurrentThreadId(), "message handled on the wrong thread");
    worker.RequestQuit();
    ok(!worker.IsStarted() && !worker.Post(WM_APP), "worker still takes messages after quitting");
    ok(worker.Start() && worker.Post(WM_APP + 6) && WaitForSingleObject(worker.handled, 2000) == WAIT_OBJECT_0,
       "restarted worker does not work");
    worker.RequestQuit();
    // Stop waits, bounded, until the thread has left; long work sees the request.
    ok(worker.Start() && worker.Post(WM_APP + 9) && WaitForSingleObject(worker.handled, 2000) == WAIT_OBJECT_0,
       "long request not started");
    ok(!worker.Stop(50), "Stop returned while the worker was still in its request");
    ok(worker.Stop(5000) && worker.sawQuit, "worker did not leave (saw the quit %d)", worker.sawQuit);
    // The thread has not just left the loop: it ends (the one stopped above too, first).
    Sleep(200);
    const int threadsBefore = ThreadCount();
    ok(worker.Start() && worker.Stop(5000), "worker did not start and stop");
    Sleep(200);
    ok(ThreadCount() <= threadsBefore, "%d threads after a stopped worker, %d before", ThreadCount(), threadsBefore);
    CloseHandle(worker.handled);
}

// Pixels of a button face drawn into a bitmap of our own.
struct Face {
    std::vector<COLORREF> px;
    int width = 0, height = 0;
    COLORREF At(int x, int y) const { return px[std::size_t(y) * width + x]; }
    // Pixels whose colour is clearly not grey (green icon parts).
    int Coloured(int x0, int x1) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = x0; x < x1; ++x) {
                const COLORREF c = At(x, y);
                if (GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 60) ++n;
            }
        return n;
    }
};

Face DrawFace(wingui::OwnerDrawButton& button, HWND control, UINT state, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = control;
    item.hDC = dc;
    item.itemState = state;
    item.rcItem = {0, 0, width, height};
    button.Draw(item);
    Face face;
    face.width = width;
    face.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) face.px.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return face;
}

class CountingIconButton : public wingui::IconButton {
public:
    int draws = 0;

protected:
    void DrawContent(HDC dc, const RECT& rect, bool disabled) override {
        ++draws;
        IconButton::DrawContent(dc, rect, disabled);
    }
};

void TestButtons() {
    TestWnd parent;
    const RECT frame = {0, 0, 300, 200};
    parent.Create(0, kTestClass, "buttons", WS_POPUP | WS_VISIBLE, frame, nullptr, GetModuleHandleA(nullptr));
    HWND control = CreateWindowA("BUTTON", "Download", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 120, 60, parent.Handle(),
                                 reinterpret_cast<HMENU>(3003), nullptr, nullptr);
    CountingIconButton icon;
    ok(icon.Attach(control), "attach failed");
    ok((GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, "button is not owner-drawn");
    icon.SetIcon(static_cast<HICON>(LoadImageA(gLexis, MAKEINTRESOURCEA(11), IMAGE_ICON, 32, 32, 0)));
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
    ok(icon.draws > 0, "WM_DRAWITEM did not reach the button object");

    ok(!icon.SetLayout(4) && icon.GetLayout() == 0, "layout 4 was taken");
    icon.SetLayout(wingui::IconButton::kIconLeft);
    const Face left = DrawFace(icon, control, 0, 120, 40);
    ok(left.Coloured(0, 60) > 20 && left.Coloured(60, 120) == 0, "icon left: %d green pixels left, %d right",
       left.Coloured(0, 60), left.Coloured(60, 120));
    icon.SetLayout(wingui::IconButton::kIconRight);
    const Face right = DrawFace(icon, control, 0, 120, 40);
    ok(right.Coloured(60, 120) > 20 && right.Coloured(0, 60) == 0, "icon right: %d green pixels right, %d left",
       right.Coloured(60, 120), right.Coloured(0, 60));
    const Face disabled = DrawFace(icon, control, ODS_DISABLED, 120, 40);
    ok(disabled.Coloured(0, 120) == 0, "disabled icon keeps %d green pixels", disabled.Coloured(0, 120));
    const Face pressed = DrawFace(icon, control, ODS_SELECTED, 120, 40);
    ok(right.At(0, 0) != pressed.At(0, 0), "pressed and raised edges look the same");

    wingui::ShadedButton shaded;
    shaded.Attach(control);
    shaded.SetStyle(42);
    ok(shaded.GetStyle() == 8, "style 42 became %d, expected 8", shaded.GetStyle());
    shaded.SetStyle(-3);
    ok(shaded.GetStyle() == 0, "style -3 became %d, expected 0", shaded.GetStyle());
    ok(wingui::ShadedButton::Shade(3, 0, 0, 50, 20) == 256 && wingui::ShadedButton::Shade(3, 0, 19, 50, 20) == 0,
       "style 3 is not light at the top and dark at the bottom");
    shaded.SetStyle(3);
    const Face up = DrawFace(shaded, control, 0, 80, 40);
    const Face down = DrawFace(shaded, control, ODS_SELECTED, 80, 40);
    ok(GetRValue(up.At(40, 4)) > GetRValue(up.At(40, 35)), "shade does not darken downwards");
    ok(GetRValue(down.At(40, 4)) < GetRValue(down.At(40, 35)), "pressed shade is not inverted");
    parent.Destroy();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: wingui_test LEXIS_DLL\n");
        return 2;
    }
    gLexis = LoadLibraryA(argv[1]);
    ok(gLexis != nullptr, "%s did not load", argv[1]);
    if (!gLexis) return wine_test::Finish();
    TestWindowBinding();
    TestDialogControls();
    TestModalRunner();
    TestScrollView();
    TestWorkerThread();
    TestButtons();
    return wine_test::Finish();
}
