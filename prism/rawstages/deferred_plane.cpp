// Pending tone tables of the raw plane (deferred_plane.h).
#include "deferred_plane.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

void Identity(std::uint8_t (&table)[256]) {
    for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(i);
}

void Follow(std::uint8_t (&pending)[256], const ToneTable& next) {
    for (int i = 0; i < 256; ++i) pending[i] = static_cast<std::uint8_t>(next[pending[i]]);
}

// Sites by row and column parity: even rows green, blue; odd rows red, green.
void WriteRow(std::uint8_t* row, int width, bool oddRow, const SiteTables& tables) {
    const std::uint8_t* even = oddRow ? tables.red : tables.green;
    const std::uint8_t* odd = oddRow ? tables.green : tables.blue;
    int x = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Eight samples per load and store (sample x + k in bits 8k): the
    // lookups are what is left.
    for (; x + 8 <= width; x += 8) {
        std::uint64_t v;
        std::memcpy(&v, row + x, 8);
        std::uint64_t out = 0;
        for (int k = 0; k < 8; k += 2) {
            out |= std::uint64_t(even[(v >> (8 * k)) & 0xFF]) << (8 * k);
            out |= std::uint64_t(odd[(v >> (8 * k + 8)) & 0xFF]) << (8 * k + 8);
        }
        std::memcpy(row + x, &out, 8);
    }
#endif
    for (; x + 1 < width; x += 2) {
        row[x] = even[row[x]];
        row[x + 1] = odd[row[x + 1]];
    }
    if (x < width) row[x] = even[row[x]];
}

}  // namespace

DeferredPlane::DeferredPlane(std::uint8_t* raw, int width, int height)
    : raw_(raw), width_(width), height_(height) {
    Identity(pending_.red);
    Identity(pending_.green);
    Identity(pending_.blue);
}

void DeferredPlane::Compose(const ToneTable& red, const ToneTable& green, const ToneTable& blue) {
    Follow(pending_.red, red);
    Follow(pending_.green, green);
    Follow(pending_.blue, blue);
    active_ = true;
}

void DeferredPlane::WriteRowsThrough(int last) {
    if (!active_ || width_ < 1) return;
    last = std::min(last, height_ - 1);
    for (; writtenRows_ <= last; ++writtenRows_)
        WriteRow(raw_ + std::size_t(writtenRows_) * width_, width_, writtenRows_ & 1, pending_);
}

void DeferredPlane::Flush() {
    WriteRowsThrough(height_ - 1);
    if (!active_) return;
    Identity(pending_.red);
    Identity(pending_.green);
    Identity(pending_.blue);
    active_ = false;
    writtenRows_ = 0;
}
