// Elementary functions that give the same bits on every build. The stages
// must write the same bytes on Linux and on 32-bit Windows, and a curve value
// or a colour that lands on an exact rounding half is decided by the last bit
// of a pow or a cos; the C libraries of the two platforms do not agree on
// those bits. These functions use only IEEE-754 basic operations (+, -, *, /,
// sqrt, comparisons and the bits of doubles), which SSE2 evaluates exactly as
// specified, so their results are the same everywhere.
//
// Each is within 1 ulp of the true value (within about half an ulp outside
// subnormal results) and exact wherever the true value is a double: Pow(255,
// 0) = 1, Pow(x, 1) = x, Pow(4, 0.5) = 2, integer powers that fit, Cos(0) = 1,
// Acos(1) = 0. Special values follow C99 Annex F (NaN arguments, infinities,
// signed zeros, negative bases with integer exponents).
#pragma once

namespace portable {

double Pow(double x, double y);
double Cos(double x);
double Acos(double x);  // in 0..pi; NaN outside -1..1

}  // namespace portable
