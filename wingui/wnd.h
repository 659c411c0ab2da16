// Window object bound to its HWND. Messages of the window reach the object's
// virtual hooks (OnCommand, OnTimer, OnDestroy, OnMessage); what no hook
// handles gets the system's default handling. Windows of classes registered
// through Wnd::RegisterWindowClass bind at WM_NCCREATE, dialogs (Dialog) at
// WM_INITDIALOG. The binding is a window property, so FromHandle answers only
// for windows this layer made.
//
// Lifetime: a window may be destroyed while a handler of its object is still
// on the stack (a message box's loop can deliver a closing request). The
// object hears OnFinalMessage once the window is gone and none of its
// handlers runs any more; handlers check IsAlive() after every nested loop.
#pragma once

#include <windows.h>

namespace wingui {

class Wnd {
public:
    Wnd() = default;
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND Handle() const { return hwnd_; }
    bool IsAlive() const { return hwnd_ != nullptr; }
    static Wnd* FromHandle(HWND hwnd);

    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void StartTimer(UINT_PTR id, UINT milliseconds) const;
    void StopTimer(UINT_PTR id) const;
    void Destroy() const;

    // Registers a class whose windows bind to the object given to Create;
    // the procedure field is filled in here. 0 when registration fails.
    static ATOM RegisterWindowClass(WNDCLASSEXA windowClass);
    // Creates a window of such a class bound to this object.
    bool Create(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                HWND parent, HINSTANCE instance, int id = 0);

protected:
    // Hooks; each returns true when it handled the message.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnDestroy();
    // Any other message; the result goes to `result`.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window is gone and no handler of this object runs: the object may
    // delete itself here. Not called for a window whose creation failed.
    virtual void OnFinalMessage();

    // The dispatch shared by window and dialog procedures.
    virtual bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // What a message no hook handled gets: the system's default window
    // procedure; frames of the multiple-document interface use theirs.
    virtual LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    void Bind(HWND hwnd);
    // Brackets every message and every creation call: while held, the object
    // outlives its window.
    void Hold() { ++depth_; }
    // Ends a Hold; may run OnFinalMessage, after which `this` must not be used.
    void Release(bool windowGone);
    // A creation call failed: no final message for this window.
    void ForgetWindow();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    int depth_ = 0;
    bool finalDue_ = false;
};

}  // namespace wingui
