// The four demosaicing methods at one site, written once over a lane type L
// so that the plain path (one pixel per step) and the SSE2 and AVX2 paths
// (eight or sixteen pixels of one site class per step) compute the same
// integers.
//
// A site is either red/blue or green. Each method returns the site's own
// colour and two interpolated values: at a red or blue site the green and
// the diagonal colour; at a green site the colour of the vertical and of the
// horizontal neighbours. The row loop maps them to blue, green, red.
//
// L gives V (an int, or a vector of 16-bit lanes; a mask is 0 or all ones
// per lane) with + - & | ~ << >>, and Load, Set, AbsDiff, SubSat (a - b or
// 0, for a, b >= 0), Min, Max, Less (mask of a < b), All (every lane of a
// mask set), Select, DivTrunc (signed, toward zero, divisor 1..8) and
// StorePairs. Every intermediate value lies in -512..4080, so 16-bit lanes
// hold them exactly.
//
// Only templates live here: the AVX2 unit compiles them with AVX2 enabled,
// and no out-of-line function may be shared with the plain unit.
#pragma once

#include <cstdint>

#include "demosaic_paths.h"

// A unit that compiles these templates for an instruction set beyond the
// build's baseline (the AVX2 unit) defines DEMOSAIC_TARGET as that target
// attribute before it includes this header. Every function here carries it,
// so that gcc and clang alike accept the intrinsics and inline the formulas
// into one another.
#ifndef DEMOSAIC_TARGET
#define DEMOSAIC_TARGET
#endif

// Every formula is inlined into the row loop: a call would spill all
// vector registers, and the compiler's size limits stop short of that.
#define DEMOSAIC_INLINE [[gnu::always_inline]] inline DEMOSAIC_TARGET

namespace demosaic {

template <class L>
struct SiteValues {
    typename L::V own, first, second;
};

// P(dy, dx) at the centre column of parity kParity in the pair j: the
// sample dy rows and dx columns away, from the split rows.
template <class L, int kParity>
struct Window {
    const DemosaicRows& rows;
    int j;
    DEMOSAIC_INLINE typename L::V operator()(int dy, int dx) const {
        const int c = kParity + dx + 2;  // 0..5, the column relative to 2j - 2
        return L::Load(rows.cols[dy + 2][c & 1] + j + c / 2 - 1);
    }
};

template <class L>
struct Bilinear {
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> RedBlue(const P& p) {
        return {p(0, 0), (p(-1, 0) + p(1, 0) + p(0, -1) + p(0, 1)) >> 2,
                (p(-1, -1) + p(-1, 1) + p(1, -1) + p(1, 1)) >> 2};
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> Green(const P& p) {
        return {p(0, 0), (p(-1, 0) + p(1, 0)) >> 1, (p(0, -1) + p(0, 1)) >> 1};
    }
};

// Fixed 5 x 5 kernels. A red or blue site keeps its colour blurred (b), takes
// green from the cross (e) and the diagonal colour from the corners (c); a
// green site blurs its green (a) and takes dv and dh.
template <class L>
struct Blur {
    using V = typename L::V;
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> RedBlue(const P& p) {
        const V cross = p(-1, 0) + p(1, 0) + p(0, -1) + p(0, 1);
        const V knights =
            p(-2, -1) + p(-2, 1) + p(-1, -2) + p(-1, 2) + p(1, -2) + p(1, 2) + p(2, -1) + p(2, 1);
        const V b = ((p(0, 0) << 2) + p(-2, 0) + p(2, 0) + p(0, -2) + p(0, 2)) >> 3;
        const V e = ((cross << 1) + cross + (knights >> 1)) >> 4;
        const V c = (p(-1, -1) + p(-1, 1) + p(1, -1) + p(1, 1)) >> 2;
        return {b, e, c};
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> Green(const P& p) {
        const V a = ((p(0, 0) << 2) + p(-1, -1) + p(-1, 1) + p(1, -1) + p(1, 1)) >> 3;
        const V dv = (((p(-1, 0) + p(1, 0)) << 1) + p(-1, -2) + p(-1, 2) + p(1, -2) + p(1, 2)) >> 3;
        const V dh = (((p(0, -1) + p(0, 1)) << 1) + p(-2, -1) + p(-2, 1) + p(2, -1) + p(2, 1)) >> 3;
        return {a, dv, dh};
    }
};

// One value per direction: a gradient, a mask of chosen directions, ...
template <class L>
struct Directions {
    typename L::V n, s, e, w, ne, se, nw, sw;
};

// Named functions rather than lambdas: a lambda would not carry DEMOSAIC_TARGET.
template <class L>
DEMOSAIC_INLINE typename L::V Step(typename L::V a, typename L::V b) {
    return L::AbsDiff(a, b);
}
template <class L>
DEMOSAIC_INLINE typename L::V HalfStep(typename L::V a, typename L::V b) {
    return L::AbsDiff(a, b) >> 1;  // floored on its own
}

template <class L, bool kGreenSite, class P>
DEMOSAIC_INLINE Directions<L> Gradients(const P& p) {
    using V = typename L::V;
    const V c = p(0, 0);
    Directions<L> g;
    const V vertical =
        Step<L>(p(-1, 0), p(1, 0)) + HalfStep<L>(p(-1, -1), p(1, -1)) + HalfStep<L>(p(-1, 1), p(1, 1));
    g.n = vertical + Step<L>(p(-2, 0), c) + HalfStep<L>(p(-2, -1), p(0, -1)) + HalfStep<L>(p(-2, 1), p(0, 1));
    g.s = vertical + Step<L>(p(2, 0), c) + HalfStep<L>(p(2, -1), p(0, -1)) + HalfStep<L>(p(2, 1), p(0, 1));
    const V horizontal =
        Step<L>(p(0, 1), p(0, -1)) + HalfStep<L>(p(-1, 1), p(-1, -1)) + HalfStep<L>(p(1, 1), p(1, -1));
    g.e = horizontal + Step<L>(p(0, 2), c) + HalfStep<L>(p(-1, 2), p(-1, 0)) + HalfStep<L>(p(1, 2), p(1, 0));
    g.w = horizontal + Step<L>(p(0, -2), c) + HalfStep<L>(p(-1, -2), p(-1, 0)) + HalfStep<L>(p(1, -2), p(1, 0));
    const V rising = Step<L>(p(-1, 1), p(1, -1));
    const V falling = Step<L>(p(1, 1), p(-1, -1));
    if constexpr (kGreenSite) {
        g.ne = rising + Step<L>(p(-2, 2), c) + Step<L>(p(-1, 2), p(1, 0)) + Step<L>(p(-2, 1), p(0, -1));
        g.sw = rising + Step<L>(p(2, -2), c) + Step<L>(p(1, -2), p(-1, 0)) + Step<L>(p(2, -1), p(0, 1));
        g.se = falling + Step<L>(p(2, 2), c) + Step<L>(p(1, 2), p(-1, 0)) + Step<L>(p(2, 1), p(0, -1));
        g.nw = falling + Step<L>(p(-2, -2), c) + Step<L>(p(-1, -2), p(1, 0)) + Step<L>(p(-2, -1), p(0, 1));
    } else {
        const V risingNear = rising + HalfStep<L>(p(-1, 0), p(0, -1)) + HalfStep<L>(p(0, 1), p(1, 0));
        g.ne = risingNear + Step<L>(p(-2, 2), c) + HalfStep<L>(p(-2, 1), p(-1, 0)) + HalfStep<L>(p(-1, 2), p(0, 1));
        g.sw = risingNear + Step<L>(p(2, -2), c) + HalfStep<L>(p(2, -1), p(1, 0)) + HalfStep<L>(p(1, -2), p(0, -1));
        const V fallingNear = falling + HalfStep<L>(p(1, 0), p(0, -1)) + HalfStep<L>(p(0, 1), p(-1, 0));
        g.se = fallingNear + Step<L>(p(2, 2), c) + HalfStep<L>(p(2, 1), p(1, 0)) + HalfStep<L>(p(1, 2), p(0, 1));
        g.nw = fallingNear + Step<L>(p(-2, -2), c) + HalfStep<L>(p(-2, -1), p(-1, 0)) +
               HalfStep<L>(p(-1, -2), p(0, -1));
    }
    return g;
}

template <class L>
DEMOSAIC_INLINE typename L::V Smallest(const Directions<L>& g) {
    return L::Min(L::Min(L::Min(g.n, g.s), L::Min(g.e, g.w)),
                  L::Min(L::Min(g.ne, g.se), L::Min(g.nw, g.sw)));
}

template <class L>
DEMOSAIC_INLINE typename L::V Largest(const Directions<L>& g) {
    return L::Max(L::Max(L::Max(g.n, g.s), L::Max(g.e, g.w)),
                  L::Max(L::Max(g.ne, g.se), L::Max(g.nw, g.sw)));
}

// Mask of the directions whose gradient is at most t.
template <class L>
DEMOSAIC_INLINE Directions<L> AtMost(const Directions<L>& g, typename L::V t) {
    const typename L::V limit = t + L::Set(1);
    return {L::Less(g.n, limit),  L::Less(g.s, limit),  L::Less(g.e, limit),  L::Less(g.w, limit),
            L::Less(g.ne, limit), L::Less(g.se, limit), L::Less(g.nw, limit), L::Less(g.sw, limit)};
}

template <class L>
DEMOSAIC_INLINE typename L::V Count(const Directions<L>& m) {
    return L::Set(0) - (m.n + m.s + m.e + m.w + m.ne + m.se + m.nw + m.sw);
}

// Sums of the chosen directions' estimates of the three colours.
template <class L>
struct Sums {
    using V = typename L::V;
    V own, first, second;
    DEMOSAIC_INLINE void Add(V chosen, V ownEstimate, V firstEstimate, V secondEstimate) {
        own = own + (ownEstimate & chosen);
        first = first + (firstEstimate & chosen);
        second = second + (secondEstimate & chosen);
    }
};

// clamp(a + b - c) of the line method's colour differences.
template <class L>
DEMOSAIC_INLINE typename L::V Diff(typename L::V a, typename L::V b, typename L::V c) {
    return L::Min(L::SubSat(a + b, c), L::Set(255));
}

// clamp(h(a) - h(b) + c): a colour difference taken at half scale.
template <class L>
DEMOSAIC_INLINE typename L::V HalfDiff(typename L::V a, typename L::V b, typename L::V c) {
    return L::Min(L::SubSat((a >> 1) + c, b >> 1), L::Set(255));
}

// Estimates at a red or blue site: own X, first green, second Y. The line
// method corrects the averages of colours the centre lacks by colour
// differences.
template <class L, bool kLine, class P>
DEMOSAIC_INLINE Sums<L> RedBlueSums(const P& p, const Directions<L>& m) {
    using V = typename L::V;
    const V c = p(0, 0);
    Sums<L> s{L::Set(0), L::Set(0), L::Set(0)};
    V y;
    if constexpr (kLine)
        y = (Diff<L>(p(-1, -1), p(-1, 0), p(0, -1)) + Diff<L>(p(-1, 1), p(-1, 0), p(0, 1))) >> 1;
    else
        y = (p(-1, -1) + p(-1, 1)) >> 1;
    s.Add(m.n, (p(-2, 0) + c) >> 1, p(-1, 0), y);
    if constexpr (kLine)
        y = (Diff<L>(p(1, -1), p(1, 0), p(0, -1)) + Diff<L>(p(1, 1), p(1, 0), p(0, 1))) >> 1;
    else
        y = (p(1, -1) + p(1, 1)) >> 1;
    s.Add(m.s, (p(2, 0) + c) >> 1, p(1, 0), y);
    if constexpr (kLine)
        y = (Diff<L>(p(-1, 1), p(0, 1), p(-1, 0)) + Diff<L>(p(1, 1), p(0, 1), p(1, 0))) >> 1;
    else
        y = (p(-1, 1) + p(1, 1)) >> 1;
    s.Add(m.e, (p(0, 2) + c) >> 1, p(0, 1), y);
    if constexpr (kLine)
        y = (Diff<L>(p(-1, -1), p(0, -1), p(-1, 0)) + Diff<L>(p(1, -1), p(0, -1), p(1, 0))) >> 1;
    else
        y = (p(-1, -1) + p(1, -1)) >> 1;
    s.Add(m.w, (p(0, -2) + c) >> 1, p(0, -1), y);

    V g;
    if constexpr (kLine)
        g = (HalfDiff<L>(p(-2, 2), p(-2, 0), p(-2, 1)) + HalfDiff<L>(c, p(-2, 0), p(-1, 0)) +
             HalfDiff<L>(p(-2, 2), p(0, 2), p(-1, 2)) + HalfDiff<L>(c, p(0, 2), p(0, 1))) >>
            2;
    else
        g = (p(-2, 1) + p(-1, 0) + p(-1, 2) + p(0, 1)) >> 2;
    s.Add(m.ne, (p(-2, 2) + c) >> 1, g, p(-1, 1));
    if constexpr (kLine)
        g = (HalfDiff<L>(c, p(0, 2), p(0, 1)) + HalfDiff<L>(c, p(2, 0), p(1, 0)) +
             HalfDiff<L>(p(2, 2), p(0, 2), p(1, 2)) + HalfDiff<L>(p(2, 2), p(2, 0), p(2, 1))) >>
            2;
    else
        g = (p(0, 1) + p(1, 0) + p(1, 2) + p(2, 1)) >> 2;
    s.Add(m.se, (p(2, 2) + c) >> 1, g, p(1, 1));
    if constexpr (kLine)
        g = (HalfDiff<L>(p(-2, -2), p(-2, 0), p(-2, -1)) +
             HalfDiff<L>(p(-2, -2), p(0, -2), p(-1, -2)) + HalfDiff<L>(c, p(-2, 0), p(-1, 0)) +
             HalfDiff<L>(c, p(0, -2), p(0, -1))) >>
            2;
    else
        g = (p(-2, -1) + p(-1, -2) + p(-1, 0) + p(0, -1)) >> 2;
    s.Add(m.nw, (p(-2, -2) + c) >> 1, g, p(-1, -1));
    if constexpr (kLine)
        g = (HalfDiff<L>(c, p(0, -2), p(0, -1)) + HalfDiff<L>(p(2, -2), p(0, -2), p(1, -2)) +
             HalfDiff<L>(c, p(2, 0), p(1, 0)) + HalfDiff<L>(p(2, -2), p(2, 0), p(2, -1))) >>
            2;
    else
        g = (p(2, -1) + p(1, -2) + p(1, 0) + p(0, -1)) >> 2;
    s.Add(m.sw, (p(2, -2) + c) >> 1, g, p(1, -1));
    return s;
}

// Estimates at a green site: own green, first V, second H.
template <class L, bool kLine, class P>
DEMOSAIC_INLINE Sums<L> GreenSums(const P& p, const Directions<L>& m) {
    using V = typename L::V;
    const V c = p(0, 0);
    Sums<L> s{L::Set(0), L::Set(0), L::Set(0)};
    V v, h;
    if constexpr (kLine)
        h = (Diff<L>(p(-2, -1), p(-2, 0), p(-1, -1)) + Diff<L>(p(-2, 1), p(-2, 0), p(-1, 1)) +
             Diff<L>(p(0, -1), c, p(-1, -1)) + Diff<L>(p(0, 1), c, p(-1, 1))) >>
            2;
    else
        h = (p(-2, -1) + p(-2, 1) + p(0, -1) + p(0, 1)) >> 2;
    s.Add(m.n, (p(-2, 0) + c) >> 1, p(-1, 0), h);
    if constexpr (kLine)
        h = (Diff<L>(p(2, -1), p(2, 0), p(1, -1)) + Diff<L>(p(2, 1), p(2, 0), p(1, 1)) +
             Diff<L>(p(0, -1), c, p(1, -1)) + Diff<L>(p(0, 1), c, p(1, 1))) >>
            2;
    else
        h = (p(0, -1) + p(0, 1) + p(2, -1) + p(2, 1)) >> 2;
    s.Add(m.s, (p(2, 0) + c) >> 1, p(1, 0), h);
    if constexpr (kLine)
        v = (Diff<L>(p(-1, 2), p(0, 2), p(-1, 1)) + Diff<L>(p(1, 2), p(0, 2), p(1, 1)) +
             Diff<L>(p(-1, 0), c, p(-1, 1)) + Diff<L>(p(1, 0), c, p(1, 1))) >>
            2;
    else
        v = (p(-1, 0) + p(-1, 2) + p(1, 0) + p(1, 2)) >> 2;
    s.Add(m.e, (p(0, 2) + c) >> 1, v, p(0, 1));
    if constexpr (kLine)
        v = (Diff<L>(p(-1, -2), p(0, -2), p(-1, -1)) + Diff<L>(p(1, -2), p(0, -2), p(1, -1)) +
             Diff<L>(p(-1, 0), c, p(-1, -1)) + Diff<L>(p(1, 0), c, p(1, -1))) >>
            2;
    else
        v = (p(-1, -2) + p(-1, 0) + p(1, -2) + p(1, 0)) >> 2;
    s.Add(m.w, (p(0, -2) + c) >> 1, v, p(0, -1));

    if constexpr (kLine) {
        const V d = p(-1, 1);
        v = (HalfDiff<L>(d, p(-2, 0), p(-1, 0)) + HalfDiff<L>(d, p(0, 2), p(-1, 2))) >> 1;
        h = (HalfDiff<L>(d, p(-2, 0), p(-2, 1)) + HalfDiff<L>(d, p(0, 2), p(0, 1))) >> 1;
    } else {
        v = (p(-1, 0) + p(-1, 2)) >> 1;
        h = (p(-2, 1) + p(0, 1)) >> 1;
    }
    s.Add(m.ne, p(-1, 1), v, h);
    if constexpr (kLine) {
        const V d = p(1, 1);
        v = (HalfDiff<L>(d, p(2, 0), p(1, 0)) + HalfDiff<L>(d, p(0, 2), p(1, 2))) >> 1;
        h = (HalfDiff<L>(d, p(0, 2), p(0, 1)) + HalfDiff<L>(d, p(2, 0), p(2, 1))) >> 1;
    } else {
        v = (p(1, 0) + p(1, 2)) >> 1;
        h = (p(0, 1) + p(2, 1)) >> 1;
    }
    s.Add(m.se, p(1, 1), v, h);
    if constexpr (kLine) {
        const V d = p(-1, -1);
        v = (HalfDiff<L>(d, p(0, -2), p(-1, -2)) + HalfDiff<L>(d, p(-2, 0), p(-1, 0))) >> 1;
        h = (HalfDiff<L>(d, p(-2, 0), p(-2, -1)) + HalfDiff<L>(d, p(0, -2), p(0, -1))) >> 1;
    } else {
        v = (p(-1, -2) + p(-1, 0)) >> 1;
        h = (p(-2, -1) + p(0, -1)) >> 1;
    }
    s.Add(m.nw, p(-1, -1), v, h);
    if constexpr (kLine) {
        const V d = p(1, -1);
        v = (HalfDiff<L>(d, p(0, -2), p(1, -2)) + HalfDiff<L>(d, p(2, 0), p(1, 0))) >> 1;
        h = (HalfDiff<L>(d, p(0, -2), p(0, -1)) + HalfDiff<L>(d, p(2, 0), p(2, -1))) >> 1;
    } else {
        v = (p(1, -2) + p(1, 0)) >> 1;
        h = (p(0, -1) + p(2, -1)) >> 1;
    }
    s.Add(m.sw, p(1, -1), v, h);
    return s;
}

template <class L, bool kGreenSite, bool kLine, class P>
DEMOSAIC_INLINE Sums<L> SiteSums(const P& p, const Directions<L>& m) {
    if constexpr (kGreenSite)
        return GreenSums<L, kLine>(p, m);
    else
        return RedBlueSums<L, kLine>(p, m);
}

// Own colour unchanged; each missing colour moves from the centre by the
// mean difference of the estimates, limited to 1..255.
template <class L>
DEMOSAIC_INLINE typename L::V LimitToColour(typename L::V v) {
    return L::Min(L::Max(v, L::Set(1)), L::Set(255));
}

template <class L>
DEMOSAIC_INLINE SiteValues<L> Interpolated(typename L::V c, const Sums<L>& s, typename L::V n) {
    return {c, LimitToColour<L>(c + L::DivTrunc(s.first - s.own, n)),
            LimitToColour<L>(c + L::DivTrunc(s.second - s.own, n))};
}

template <class L>
struct Tvng {
    template <bool kGreenSite, class P>
    DEMOSAIC_INLINE static SiteValues<L> Site(const P& p) {
        const Directions<L> g = Gradients<L, kGreenSite>(p);
        const Directions<L> chosen = AtMost<L>(g, Smallest<L>(g) + (Largest<L>(g) >> 1));
        return Interpolated<L>(p(0, 0), SiteSums<L, kGreenSite, false>(p, chosen),
                               Count<L>(chosen));
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> RedBlue(const P& p) {
        return Site<false>(p);
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> Green(const P& p) {
        return Site<true>(p);
    }
};

// Keeps one line where a line and not its crossing line was chosen; the
// rules run in this order, each on the mask the previous one left.
template <class L>
DEMOSAIC_INLINE void KeepLines(Directions<L>& m) {
    using V = typename L::V;
    V cut = (m.n & m.s) & ~(m.e & m.w);
    m.e = m.e & ~cut;
    m.w = m.w & ~cut;
    cut = (m.e & m.w) & ~(m.n & m.s);
    m.n = m.n & ~cut;
    m.s = m.s & ~cut;
    cut = (m.ne & m.sw) & ~(m.se & m.nw);
    m.se = m.se & ~cut;
    m.nw = m.nw & ~cut;
    cut = (m.se & m.nw) & ~(m.ne & m.sw);
    m.ne = m.ne & ~cut;
    m.sw = m.sw & ~cut;
}

template <class L>
struct TvngLine {
    using V = typename L::V;

    template <bool kGreenSite, class P>
    DEMOSAIC_INLINE static SiteValues<L> Site(const P& p) {
        const Directions<L> g = Gradients<L, kGreenSite>(p);
        const V smallest = Smallest<L>(g);
        const V largest = Largest<L>(g);
        const V t1 = smallest + (largest >> 1);

        // A flat neighbourhood takes the bilinear values; most of a picture
        // is flat, so a step whose pixels all are skips the rest.
        const V flat = L::Less(t1, L::Set(24)) | L::Less(largest, L::Set(48));
        const SiteValues<L> plain = kGreenSite ? Bilinear<L>::Green(p) : Bilinear<L>::RedBlue(p);
        if (L::All(flat)) return plain;

        const Directions<L> wide = AtMost<L>(g, t1);
        const Directions<L> narrow = AtMost<L>(g, smallest + (largest >> 2));
        const V useWide = L::Less(Count<L>(narrow), L::Set(2));
        Directions<L> m;
        m.n = L::Select(useWide, wide.n, narrow.n);
        m.s = L::Select(useWide, wide.s, narrow.s);
        m.e = L::Select(useWide, wide.e, narrow.e);
        m.w = L::Select(useWide, wide.w, narrow.w);
        m.ne = L::Select(useWide, wide.ne, narrow.ne);
        m.se = L::Select(useWide, wide.se, narrow.se);
        m.nw = L::Select(useWide, wide.nw, narrow.nw);
        m.sw = L::Select(useWide, wide.sw, narrow.sw);
        KeepLines<L>(m);
        const V n = Count<L>(m);

        // Where the mask is exactly one line, the plain average along it
        // replaces a value; flat pixels take the bilinear values. Decided
        // before the sums, so that each mask is free once its sum is taken.
        const V diagonal = m.ne | m.se | m.nw | m.sw;
        const V onlyNS = m.n & m.s & ~(m.e | m.w | diagonal);
        const V onlyEW = m.e & m.w & ~(m.n | m.s | diagonal);
        const V vertical = (p(-1, 0) + p(1, 0)) >> 1;
        const V horizontal = (p(0, -1) + p(0, 1)) >> 1;
        V firstMask, firstValue, secondMask, secondValue;
        if constexpr (kGreenSite) {
            firstMask = onlyNS, firstValue = vertical;
            secondMask = onlyEW, secondValue = horizontal;
        } else {
            firstMask = onlyNS | onlyEW, firstValue = L::Select(onlyNS, vertical, horizontal);
            const V straight = m.n | m.s | m.e | m.w;
            const V onlyRising = m.ne & m.sw & ~(straight | m.se | m.nw);
            const V onlyFalling = m.se & m.nw & ~(straight | m.ne | m.sw);
            secondMask = onlyRising | onlyFalling;
            secondValue = L::Select(onlyRising, (p(-1, 1) + p(1, -1)) >> 1,
                                    (p(-1, -1) + p(1, 1)) >> 1);
        }
        // Flat pixels beside others in the step keep the bilinear values.
        firstValue = L::Select(flat, plain.first, firstValue);
        secondValue = L::Select(flat, plain.second, secondValue);
        firstMask = firstMask | flat;
        secondMask = secondMask | flat;

        SiteValues<L> out = Interpolated<L>(p(0, 0), SiteSums<L, kGreenSite, true>(p, m), n);
        out.first = L::Select(firstMask, firstValue, out.first);
        out.second = L::Select(secondMask, secondValue, out.second);
        return out;
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> RedBlue(const P& p) {
        return Site<false>(p);
    }
    template <class P>
    DEMOSAIC_INLINE static SiteValues<L> Green(const P& p) {
        return Site<true>(p);
    }
};

// One row: pairs of columns (even, odd), L::kLanes pairs per step. Phase 0
// rows hold red at even columns, phase 1 rows blue at odd columns.
template <class L, template <class> class M, int kPhase>
DEMOSAIC_TARGET void RowOfPhase(const DemosaicRows& rows, int width, std::uint8_t* bgr) {
    constexpr int kStep = 2 * L::kLanes;
    for (int x = 0; x < width; x += kStep) {
        const Window<L, 0> even{rows, x / 2};
        const Window<L, 1> odd{rows, x / 2};
        if constexpr (kPhase == 0) {
            const SiteValues<L> r = M<L>::RedBlue(even);
            const SiteValues<L> g = M<L>::Green(odd);  // blue above and below
            L::StorePairs(bgr + 3 * x, width - x, r.second, r.first, r.own, g.first, g.own,
                          g.second);
        } else {
            const SiteValues<L> g = M<L>::Green(even);  // red above and below
            const SiteValues<L> b = M<L>::RedBlue(odd);
            L::StorePairs(bgr + 3 * x, width - x, g.second, g.own, g.first, b.own, b.first,
                          b.second);
        }
    }
}

template <class L, template <class> class M>
DEMOSAIC_TARGET void Row(const DemosaicRows& rows, int phase, int width, std::uint8_t* bgr) {
    const DemosaicRows local = rows;  // cannot alias the output
    if (phase == 0)
        RowOfPhase<L, M, 0>(local, width, bgr);
    else
        RowOfPhase<L, M, 1>(local, width, bgr);
}

template <class L>
constexpr DemosaicPath MakePath(DemosaicSplitFn split) {
    DemosaicPath path{};
    path.split = split;
    path.rows[int(DemosaicMethod::Bilinear)] = &Row<L, Bilinear>;
    path.rows[int(DemosaicMethod::Tvng)] = &Row<L, Tvng>;
    path.rows[int(DemosaicMethod::Blur)] = &Row<L, Blur>;
    path.rows[int(DemosaicMethod::TvngLine)] = &Row<L, TvngLine>;
    return path;
}

}  // namespace demosaic

#undef DEMOSAIC_INLINE
