// Power curves, S-curves, gamma and S-gamma tables shared by the letter tone
// stages, letter K's weight curve, the edge-adaptive blur's weight table and
// the raw-plane tone curves.
#include "tone_curve_math.h"

#include <cmath>

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

void BuildGammaTable(ToneTable& table, double g) {
    const PowerCurve gamma(255, g);
    for (int i = 0; i < 256; ++i) table[i] = ToneByte(gamma(i));
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
