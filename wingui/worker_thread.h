// Worker thread with its own message loop: requests arrive as thread
// messages (Post) and are handled one at a time by OnThreadMessage on the
// worker. Start waits until the thread's queue exists, so the first request
// cannot be lost. RequestQuit posts WM_QUIT and returns at once (the
// requests queued before it are still handled; long work can end early by
// watching QuitRequested); Stop also waits, bounded, until the thread has
// left this code.
//
// The thread holds no reference on the library that holds this code, so a
// library unloaded by its caller really unloads and can stop the thread from
// its unload hook. That hook runs under the loader lock, which a thread
// needs to end: so the thread does not end before it signals. It signals
// and goes into an alertable wait in one system call, and an APC it queued
// to itself runs ExitThread there; once the signal is seen the thread never
// runs this code again, and it ends as soon as the lock is free.
#pragma once

#include <windows.h>

#include <atomic>

namespace wingui {

class WorkerThread {
public:
    WorkerThread() = default;
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Start();
    // Set once the thread runs its loop; cleared by RequestQuit and by the
    // thread's end.
    bool IsStarted() const { return threadId_.load() != 0; }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void RequestQuit();
    // RequestQuit, then waits at most `ms` until the thread has left this
    // code; true when it has (or never ran).
    bool Stop(DWORD ms);
    // On the worker: true once RequestQuit was called for this thread.
    bool QuitRequested() const { return quitRequested_.load(); }

protected:
    // On the worker thread, for each message posted to it.
    virtual void OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // On the worker thread, after its loop, before it signals that it left.
    virtual void OnLoopEnd() {}

private:
    struct Launch;
    static DWORD WINAPI ThreadMain(void* launch);
    void Loop(DWORD ownId);

    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> quitRequested_{false};
    HANDLE left_ = nullptr;  // set by the thread once it will not run this code again
};

}  // namespace wingui
