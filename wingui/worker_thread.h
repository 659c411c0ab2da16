// Worker thread with its own message loop: requests arrive as thread
// messages (Post) and are handled one at a time by OnThreadMessage on the
// worker. Start waits until the thread's queue exists, so the first request
// cannot be lost. RequestQuit posts WM_QUIT and returns at once; the request
// being handled finishes first.
//
// The thread keeps a reference on the library that holds this code and drops
// it as its very last act, so a library unloaded meanwhile is unmapped only
// after the thread has left its code.
#pragma once

#include <windows.h>

#include <atomic>

namespace wingui {

class WorkerThread {
public:
    WorkerThread() = default;
    virtual ~WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Start();
    // Set once the thread runs its loop; cleared by RequestQuit and by the
    // thread's end.
    bool IsStarted() const { return threadId_.load() != 0; }
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void RequestQuit();

protected:
    // On the worker thread, for each message posted to it.
    virtual void OnThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    struct Launch;
    static DWORD WINAPI ThreadMain(void* launch);
    void Loop(DWORD ownId);

    std::atomic<DWORD> threadId_{0};
};

}  // namespace wingui
