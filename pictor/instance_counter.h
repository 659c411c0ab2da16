// How many copies of Pictor run, counted in one value that every copy shares
// and changes only atomically. A data section marked shared in the program
// file is not shared by Wine (two copies both counted themselves first), so
// the value lives in a named page of the system's paging file instead; the
// page goes when the last copy that holds it ends, so a copy that crashed
// leaves no count behind.
#pragma once

#include <windows.h>

class CInstanceCounter {
public:
    ~CInstanceCounter();
    // Counts this copy in; true when no other copy runs.
    bool Enter();
    // Counts this copy out again (after Enter, whatever it answered).
    void Leave();

private:
    HANDLE mapping_ = nullptr;
    volatile LONG* count_ = nullptr;
    bool counted_ = false;
};
