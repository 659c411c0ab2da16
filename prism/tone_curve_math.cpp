// Power curves, S-curves, gamma and S-gamma tables shared by the letter tone
// stages, letter K's weight curve, the edge-adaptive blur's weight table and
// the raw-plane tone curves.
#include "tone_curve_math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "portable_math.h"

PowerCurve::PowerCurve(int top, double exponent)
    : top_(top),
      exponent_(exponent),
      straight_(top < 1 || !(exponent > 0.0) || !std::isfinite(exponent)),
      factor_(straight_ ? 1.0 : portable::Pow(top, 1.0 - exponent)) {}

double PowerCurve::operator()(int i) const {
    if (straight_) return i;
    const double v = portable::Pow(i, exponent_) * factor_;
    if (std::isfinite(v)) return v;
    return top_ * portable::Pow(static_cast<double>(i) / top_, exponent_);
}

namespace {

// The last few gamma tables built, by the exponent's bits: a development
// builds the same ones every time (raw gamma, per-colour weights, letter E),
// and 256 portable powers cost more than the pass that applies them. Prism
// runs one conversion at a time, so the memo needs no guard.
struct GammaTableMemo {
    static constexpr int kEntries = 4;
    std::uint64_t keys[kEntries];
    ToneTable tables[kEntries];
    int used = 0;
    int next = 0;
};
GammaTableMemo gGammaTableMemo;

}  // namespace

void BuildPlainGammaTable(ToneTable& table, double g) {
    const PowerCurve gamma(255, g);
    for (int i = 0; i < 256; ++i) table[i] = ToneByte(gamma(i));
}

void BuildGammaTable(ToneTable& table, double g) {
    GammaTableMemo& memo = gGammaTableMemo;
    std::uint64_t key;
    std::memcpy(&key, &g, sizeof key);
    for (int k = 0; k < memo.used; ++k)
        if (memo.keys[k] == key) {
            std::memcpy(table, memo.tables[k], sizeof(ToneTable));
            return;
        }
    BuildPlainGammaTable(table, g);
    const int slot = memo.next;
    memo.keys[slot] = key;
    std::memcpy(memo.tables[slot], table, sizeof(ToneTable));
    memo.next = (slot + 1) % GammaTableMemo::kEntries;
    memo.used = std::max(memo.used, slot + 1);
}

void BuildSCurve(double* curve, int size, int split, double s) {
    const PowerCurve lower(split - 1, s);
    for (int i = 0; i < split; ++i) curve[i] = lower(i);
    const int top = size - 1;
    const PowerCurve upper(size - split - 1, s);
    for (int i = split; i < size; ++i) curve[i] = top - upper(top - i);
}

void BuildSGammaTable(ToneTable& table, int size, double left, double s, double g) {
    double curve[256];
    BuildSCurve(curve, size, FractionOf(left, size), s);
    const PowerCurve gamma(size - 1, g);
    for (int i = 0; i < size; ++i) {
        double v = gamma(i);
        if (i != 0) v = v * curve[i] / i;
        table[i] = ToneByte(v);
    }
}
