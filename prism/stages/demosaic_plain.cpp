// Plain path of the demosaicing: the site formulas one pixel at a time on
// ints, for builds without SSE2 and as the tests' second opinion. Masks are 0 or -1, so the formulas'
// bitwise selections work unchanged.
#include <algorithm>

#include "demosaic_paths.h"
#include "demosaic_sites.h"

namespace {

struct PlainLanes {
    using V = int;
    static constexpr int kLanes = 1;

    static V Load(const std::int16_t* p) { return *p; }
    static V Set(int k) { return k; }
    static V AbsDiff(V a, V b) { return a > b ? a - b : b - a; }
    static V SubSat(V a, V b) { return std::max(a - b, 0); }
    static V Min(V a, V b) { return std::min(a, b); }
    static V Max(V a, V b) { return std::max(a, b); }
    static V Less(V a, V b) { return a < b ? -1 : 0; }
    static bool All(V mask) { return mask != 0; }
    static V Select(V mask, V a, V b) { return mask ? a : b; }
    static V DivTrunc(V d, V n) { return d / n; }

    // One pair: the even pixel, and the odd one when it lies in the row.
    static void StorePairs(std::uint8_t* bgr, int pixels, V b0, V g0, V r0, V b1, V g1, V r1) {
        bgr[0] = std::uint8_t(b0);
        bgr[1] = std::uint8_t(g0);
        bgr[2] = std::uint8_t(r0);
        if (pixels < 2) return;
        bgr[3] = std::uint8_t(b1);
        bgr[4] = std::uint8_t(g1);
        bgr[5] = std::uint8_t(r1);
    }
};

void SplitPlain(const std::uint8_t* bytes, std::int16_t* even, std::int16_t* odd, int count) {
    for (int i = 0; i < count; ++i) {
        even[i] = bytes[2 * i];
        odd[i] = bytes[2 * i + 1];
    }
}

}  // namespace

const DemosaicPath& PlainDemosaicPath() {
    static const DemosaicPath path = demosaic::MakePath<PlainLanes>(&SplitPlain);
    return path;
}
