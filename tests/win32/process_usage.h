// What this process holds: threads and address space. The camera-window
// tests print it after each scenario, to show whether scenarios give back
// what they take: in a 32-bit process, address space never returned (a
// library copy's zeroed data, stacks of threads never ended) makes the next
// thread or library fail to start.
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace process_usage {

struct Usage {
    DWORD threads = 0;
    unsigned long long committed = 0;
    unsigned long long reservable = 0;  // what could still be reserved, in 1 MB blocks
};

// Wine reports the unused parts of the ranges it keeps for itself as
// reserved, so free space is measured by reserving it, then freeing it again.
inline unsigned long long Reservable() {
    std::vector<void*> blocks;
    unsigned long long total = 0;
    for (SIZE_T size = SIZE_T(64) << 20; size >= (SIZE_T(1) << 20); size /= 4) {
        while (total < (2ull << 30)) {
            void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
            if (!block) break;
            blocks.push_back(block);
            total += size;
        }
    }
    for (void* block : blocks) VirtualFree(block, 0, MEM_RELEASE);
    return total;
}

inline DWORD ThreadCount() {
    DWORD count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

inline Usage Measure() {
    Usage usage;
    usage.threads = ThreadCount();
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    auto* address = static_cast<char*>(system.lpMinimumApplicationAddress);
    MEMORY_BASIC_INFORMATION block;
    while (address < system.lpMaximumApplicationAddress && VirtualQuery(address, &block, sizeof block) == sizeof block) {
        if (block.State == MEM_COMMIT) usage.committed += block.RegionSize;
        address = static_cast<char*>(block.BaseAddress) + block.RegionSize;
    }
    usage.reservable = Reservable();
    return usage;
}

inline void Print(const char* when, const Usage& usage) {
    // Wine counts no handles (GetProcessHandleCount answers 0), so they are not shown.
    std::printf("  %s: %lu threads, %llu MB committed, %llu MB reservable\n", when, usage.threads,
                usage.committed >> 20, usage.reservable >> 20);
    std::fflush(stdout);
}

}  // namespace process_usage
