// Instance counter in a named shared page.
#include "instance_counter.h"

namespace {

constexpr const char* kCounterName = "VEXA_Pictor_InstanceCounter";

}  // namespace

CInstanceCounter::~CInstanceCounter() {
    Leave();
    if (count_) UnmapViewOfFile(const_cast<LONG*>(count_));
    if (mapping_) CloseHandle(mapping_);
}

bool CInstanceCounter::Enter() {
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), kCounterName);
    if (!mapping_) return false;
    count_ = static_cast<volatile LONG*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG)));
    if (!count_) return false;
    // The page starts at zero: the number of copies that run.
    counted_ = true;
    return InterlockedIncrement(count_) == 1;
}

void CInstanceCounter::Leave() {
    if (counted_ && count_) InterlockedDecrement(count_);
    counted_ = false;
}
