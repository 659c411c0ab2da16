// A reference on the library that holds some code, kept while that code may
// still run (a window of the library is open) and dropped afterwards.
//
// The last reference must not be dropped from inside the library's own code
// on a thread that then returns into it. ReleaseLater therefore drops it on a
// thread of its own, after the releasing thread has had time to leave the
// library (it returns to its caller's message loop at once).
#pragma once

#include <windows.h>

namespace wingui {

class ModuleHold {
public:
    ModuleHold() = default;
    ~ModuleHold();  // a hold still kept is released at once
    ModuleHold(ModuleHold&& other) noexcept : module_(other.module_) { other.module_ = nullptr; }
    ModuleHold& operator=(ModuleHold&&) = delete;
    ModuleHold(const ModuleHold&) = delete;

    // Takes a reference on the library that contains `code`; none (and true)
    // when that is the program itself.
    bool Acquire(const void* code);
    bool Held() const { return module_ != nullptr; }
    // Drops the reference after graceMs on a thread of its own. Should no
    // thread start, the reference is kept: a library that stays is safer than
    // one unmapped under running code.
    void ReleaseLater(DWORD graceMs);

private:
    HMODULE module_ = nullptr;
};

}  // namespace wingui
