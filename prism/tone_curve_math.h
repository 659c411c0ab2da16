// Curve maths shared by the tone stages: scaled power curves, the S-curve
// (a power curve below a split point and the same shape turned by half a
// circle above it), the S-gamma combination, and the conversion of a curve
// value into a byte. Values are sample steps 0..255, computed in double
// precision; every helper stays finite and inside its entries whatever the
// exponents and split fractions are.
#pragma once

#include <cmath>

#include "tone_table.h"

// factor * x^p. Where the formula has no value (0 * infinity: a curve part of
// a single entry, or an exponent so large that the factor underflows) the
// point is 0, which keeps a one-entry part on its own end point.
inline double PowerCurvePoint(double factor, int x, double p) {
    const double v = factor * std::pow(static_cast<double>(x), p);
    return std::isnan(v) ? 0.0 : v;
}

// A tone entry limited to 0..255: the rounding of ToneEntry for values
// inside, 0 for values at or below 0 and for a value that is not a number,
// 255 for values at or above 255 (infinities included).
inline int RoundedByte(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return ToneEntry(v);
}

// fraction * size truncated toward zero and limited to 0..size (the split
// point of an S-curve over size entries, or a blend in thousandths).
inline int FractionOf(double fraction, int size) {
    const double v = fraction * size;
    if (!(v > 0.0)) return 0;
    if (v >= size) return size;
    return static_cast<int>(v);
}

// Gamma curve G_g[i] = 255^(1 - g) * i^g, the factor computed once.
inline void BuildGammaTable(ToneTable& table, double g) {
    const double factor = std::pow(255.0, 1.0 - g);
    for (int i = 0; i < 256; ++i) table[i] = RoundedByte(PowerCurvePoint(factor, i, g));
}

// S-curve over curve[0 .. size-1] (size at most 256), split at 0..size:
// curve[i] = (split-1)^(1-s) * i^s below the split, and
// curve[i] = (size-1) - (size-split-1)^(1-s) * (size-1-i)^s from it on.
// Both ends and the split point map to themselves for s > 0.
inline void BuildSCurve(double* curve, int size, int split, double s) {
    const double lowFactor = std::pow(static_cast<double>(split - 1), 1.0 - s);
    for (int i = 0; i < split; ++i) curve[i] = PowerCurvePoint(lowFactor, i, s);
    const int top = size - 1;
    const double highFactor = std::pow(static_cast<double>(size - split - 1), 1.0 - s);
    for (int i = split; i < size; ++i) curve[i] = top - PowerCurvePoint(highFactor, top - i, s);
}

// S-gamma entries 0 .. size-1: v = i^g * (size-1)^(1-g), then for i > 0
// v * curve[i] / i (multiplication first), rounded and limited to 0..255.
inline void BuildSGammaTable(ToneTable& table, int size, int split, double s, double g) {
    double curve[256];
    BuildSCurve(curve, size, split, s);
    const double factor = std::pow(static_cast<double>(size - 1), 1.0 - g);
    for (int i = 0; i < size; ++i) {
        double v = PowerCurvePoint(factor, i, g);
        if (i != 0) v = v * curve[i] / i;
        table[i] = RoundedByte(v);
    }
}
