// Worker thread: start-up handshake, message loop, end.
#include "worker_thread.h"

namespace wingui {

// What the starting thread hands the new one.
struct WorkerThread::Launch {
    WorkerThread* self;
    HANDLE ready;     // set once the queue exists
    HMODULE pinned;   // this code's library, or null inside the program itself
};

bool WorkerThread::Start() {
    if (IsStarted()) return true;
    Launch launch = {this, CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
    if (!launch.ready) return false;
    HMODULE module = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ThreadMain), &module)) {
        if (module == GetModuleHandleA(nullptr))
            FreeLibrary(module);  // the program itself needs no pin
        else
            launch.pinned = module;
    }
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ThreadMain, &launch, 0, &id);
    if (thread) {
        WaitForSingleObject(launch.ready, INFINITE);
        CloseHandle(thread);
    } else if (launch.pinned) {
        FreeLibrary(launch.pinned);
    }
    CloseHandle(launch.ready);
    return thread != nullptr;
}

bool WorkerThread::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    const DWORD id = threadId_.load();
    return id != 0 && PostThreadMessageA(id, message, wParam, lParam) != FALSE;
}

void WorkerThread::RequestQuit() {
    const DWORD id = threadId_.exchange(0);
    if (id != 0) PostThreadMessageA(id, WM_QUIT, 0, 0);
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
    if (launch.pinned) FreeLibraryAndExitThread(launch.pinned, 0);
    return 0;
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
