// Worker thread: start-up handshake, message loop, end.
#include "worker_thread.h"

namespace wingui {

// What the starting thread hands the new one.
struct WorkerThread::Launch {
    WorkerThread* self;
    HANDLE ready;  // set once the queue exists
    HANDLE left;
    PAPCFUNC exitThread;  // kernel32's ExitThread, looked up before any unload can hold the loader lock
};

WorkerThread::~WorkerThread() {
    if (left_) CloseHandle(left_);
}

bool WorkerThread::Start() {
    if (IsStarted()) return true;
    // A thread told to quit earlier is let go first; its signal handle is ours to close.
    if (left_ && !Stop(INFINITE)) return false;
    quitRequested_ = false;
    Launch launch = {this, CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr),
                     reinterpret_cast<PAPCFUNC>(reinterpret_cast<void*>(
                         GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitThread")))};
    bool started = false;
    if (launch.ready && launch.left && launch.exitThread) {
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, ThreadMain, &launch, 0, &id);
        if (thread) {
            WaitForSingleObject(launch.ready, INFINITE);
            CloseHandle(thread);
            left_ = launch.left;
            launch.left = nullptr;
            started = true;
        }
    }
    if (launch.ready) CloseHandle(launch.ready);
    if (launch.left) CloseHandle(launch.left);
    return started;
}

bool WorkerThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    const DWORD id = threadId_.load();
    return id != 0 && PostThreadMessageA(id, message, wParam, lParam) != FALSE;
}

void WorkerThread::RequestQuit() {
    const DWORD id = threadId_.exchange(0);
    if (id == 0) return;
    quitRequested_ = true;
    PostThreadMessageA(id, WM_QUIT, 0, 0);
}

bool WorkerThread::Stop(DWORD ms) {
    RequestQuit();
    if (!left_) return true;
    if (WaitForSingleObject(left_, ms) != WAIT_OBJECT_0) return false;
    CloseHandle(left_);
    left_ = nullptr;
    return true;
}

DWORD WINAPI WorkerThread::ThreadMain(void* param) {
    const Launch launch = *static_cast<Launch*>(param);
    // The first call that touches the queue creates it.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const DWORD ownId = GetCurrentThreadId();
    launch.self->threadId_.store(ownId);
    SetEvent(launch.ready);  // `param` is gone after this
    launch.self->Loop(ownId);
    launch.self->OnLoopEnd();
    // Signal and wait in one call; the queued ExitThread ends the thread
    // inside that wait, so no instruction of this library runs after the signal.
    QueueUserAPC(launch.exitThread, GetCurrentThread(), 0);
    SignalObjectAndWait(launch.left, GetCurrentThread(), INFINITE, TRUE);
    return 0;  // not reached
}

void WorkerThread::Loop(DWORD ownId) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            OnThreadMessage(msg.message, msg.wParam, msg.lParam);
        }
    }
    // A newer thread may have started since RequestQuit; leave its id alone.
    DWORD expected = ownId;
    threadId_.compare_exchange_strong(expected, 0);
}

}  // namespace wingui
