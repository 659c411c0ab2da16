// Tone tables: 256 entries indexed by the old 8-bit value, computed in double
// precision. An entry is truncated toward zero and raised by 1 only when the
// dropped fraction is greater than 0.5 (an exact half stays down); a stage
// writes the entry's low byte back.
#pragma once

#include <cstddef>
#include <cstdint>

using ToneTable = int[256];

inline int ToneEntry(double value) {
    const int truncated = static_cast<int>(value);
    return (value - truncated > 0.5) ? truncated + 1 : truncated;
}

// A computed curve value as an entry of a byte table: rounded as above and
// limited to 0..255 (the same entry as rounding first and limiting after);
// a value that is not a number gives 0.
inline int ToneByte(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 255.0) return 255;
    return ToneEntry(value);
}

inline void ApplyToneTable(const ToneTable& table, std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(table[bytes[i]]);
}
