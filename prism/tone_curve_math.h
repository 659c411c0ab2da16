// Curve maths of every tone curve in Prism: the power curve through 0 and a
// top value, the S-curve (a power curve below a split point and the same
// shape turned by half a circle above it), the gamma table, and the S-gamma
// table that combines a gamma with an S-curve. Values are sample steps in
// double precision; tables take them through ToneByte.
//
// Settings that make no curve give a straight part: a power curve whose
// exponent is not above 0 or not finite, or that spans a single entry, is the
// identity. Every value is then finite and lies in 0..top, so every table
// stays inside its entries whatever the settings file holds.
#pragma once

#include "tone_table.h"

// P(i) = i^e * top^(1 - e) for i = 0..top, the factor computed once: it maps
// 0 to 0 and top to top. Where i^e overflows (exponents far above any sane
// setting) the same curve is taken as top * (i / top)^e.
class PowerCurve {
public:
    PowerCurve(int top, double exponent);
    double operator()(int i) const;

private:
    int top_;
    double exponent_;
    bool straight_;
    double factor_;
};

// fraction * size truncated toward zero and limited to 0..size (the split
// point of an S-curve over size entries, or a blend in thousandths).
inline int FractionOf(double fraction, int size) {
    const double v = fraction * size;
    if (!(v > 0.0)) return 0;
    if (v >= size) return size;
    return static_cast<int>(v);
}

// Gamma table G_g[i] = 255^(1 - g) * i^g; the last few are kept and copied.
void BuildGammaTable(ToneTable& table, double g);
// The same, always computed: the kept tables' reference.
void BuildPlainGammaTable(ToneTable& table, double g);

// S-curve over curve[0 .. size-1] (size at most 256), split at 0..size:
// curve[i] = (split-1)^(1-s) * i^s below the split, and
// curve[i] = (size-1) - (size-split-1)^(1-s) * (size-1-i)^s from it on.
// Both ends and the split point map to themselves.
void BuildSCurve(double* curve, int size, int split, double s);

// S-gamma entries 0 .. size-1 (size at most 256) of an S-curve of exponent s
// split at FractionOf(left, size) and a gamma g spanning 0 .. size-1:
// v = i^g * (size-1)^(1-g), then for i > 0 v * curve[i] / i (multiplication
// first); entries through ToneByte. Entries from size on are left alone.
void BuildSGammaTable(ToneTable& table, int size, double left, double s, double g);
