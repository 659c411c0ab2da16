// SSE2 path of the demosaicing: the site formulas on eight 16-bit lanes, one
// site class per vector (the rows are split by column parity), so one step
// makes 16 pixels. SSE2 is part of every build the product ships (x86-64,
// and 32-bit Windows built with -msse2), so this path needs no CPU check; it
// serves processors without AVX2.
//
// SSE2 lacks a byte shuffle, a blend and a 16-bit abs; the lane type builds
// them from masks, shifts and unpacks. The lane type has internal linkage,
// so every function made from the shared templates is this unit's own.
#include "demosaic_paths.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <cstring>

#include "demosaic_sites.h"

namespace {

#define DEMOSAIC_SSE2_INLINE [[gnu::always_inline]] inline

struct V8 {
    __m128i v;
};

DEMOSAIC_SSE2_INLINE V8 operator+(V8 a, V8 b) { return {_mm_add_epi16(a.v, b.v)}; }
DEMOSAIC_SSE2_INLINE V8 operator-(V8 a, V8 b) { return {_mm_sub_epi16(a.v, b.v)}; }
DEMOSAIC_SSE2_INLINE V8 operator&(V8 a, V8 b) { return {_mm_and_si128(a.v, b.v)}; }
DEMOSAIC_SSE2_INLINE V8 operator|(V8 a, V8 b) { return {_mm_or_si128(a.v, b.v)}; }
DEMOSAIC_SSE2_INLINE V8 operator~(V8 a) { return {_mm_xor_si128(a.v, _mm_set1_epi32(-1))}; }
DEMOSAIC_SSE2_INLINE V8 operator<<(V8 a, int n) { return {_mm_slli_epi16(a.v, n)}; }
DEMOSAIC_SSE2_INLINE V8 operator>>(V8 a, int n) { return {_mm_srai_epi16(a.v, n)}; }

// Four pixels as blue, green, red, 0 dwords -> their 12 bytes, then 4 zeros.
DEMOSAIC_SSE2_INLINE __m128i Pack3of4(__m128i v) {
    const __m128i low32 = _mm_set1_epi64x(0xFFFFFFFF);
    const __m128i pairs =  // per 64 bits: 6 bytes of two pixels, 2 zeros
        _mm_or_si128(_mm_and_si128(v, low32), _mm_srli_epi64(_mm_andnot_si128(low32, v), 8));
    const __m128i low64 = _mm_set_epi32(0, 0, -1, -1);
    return _mm_or_si128(_mm_and_si128(pairs, low64),
                        _mm_srli_si128(_mm_andnot_si128(low64, pairs), 2));
}

// 16 pixels given as 16 blue, green and red bytes in pixel order.
DEMOSAIC_SSE2_INLINE void StoreBgr16(std::uint8_t* out, __m128i b, __m128i g, __m128i r) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bgLow = _mm_unpacklo_epi8(b, g), bgHigh = _mm_unpackhi_epi8(b, g);
    const __m128i rLow = _mm_unpacklo_epi8(r, zero), rHigh = _mm_unpackhi_epi8(r, zero);
    const __m128i p0 = Pack3of4(_mm_unpacklo_epi16(bgLow, rLow));  // pixels 0..3
    const __m128i p1 = Pack3of4(_mm_unpackhi_epi16(bgLow, rLow));
    const __m128i p2 = Pack3of4(_mm_unpacklo_epi16(bgHigh, rHigh));
    const __m128i p3 = Pack3of4(_mm_unpackhi_epi16(bgHigh, rHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(p0, _mm_slli_si128(p1, 12)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16),
                     _mm_or_si128(_mm_srli_si128(p1, 4), _mm_slli_si128(p2, 8)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32),
                     _mm_or_si128(_mm_srli_si128(p2, 8), _mm_slli_si128(p3, 4)));
}

struct Sse2Lanes {
    using V = V8;
    static constexpr int kLanes = 8;

    DEMOSAIC_SSE2_INLINE static V Load(const std::int16_t* p) {
        return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))};
    }
    DEMOSAIC_SSE2_INLINE static V Set(int k) { return {_mm_set1_epi16(short(k))}; }
    // a - b and b - a fit in 16 bits for the formulas' values.
    DEMOSAIC_SSE2_INLINE static V AbsDiff(V a, V b) {
        return {_mm_max_epi16(_mm_sub_epi16(a.v, b.v), _mm_sub_epi16(b.v, a.v))};
    }
    DEMOSAIC_SSE2_INLINE static V SubSat(V a, V b) { return {_mm_subs_epu16(a.v, b.v)}; }
    DEMOSAIC_SSE2_INLINE static V Min(V a, V b) { return {_mm_min_epi16(a.v, b.v)}; }
    DEMOSAIC_SSE2_INLINE static V Max(V a, V b) { return {_mm_max_epi16(a.v, b.v)}; }
    DEMOSAIC_SSE2_INLINE static V Less(V a, V b) { return {_mm_cmplt_epi16(a.v, b.v)}; }
    DEMOSAIC_SSE2_INLINE static bool All(V mask) { return _mm_movemask_epi8(mask.v) == 0xFFFF; }
    DEMOSAIC_SSE2_INLINE static V Select(V mask, V a, V b) {
        return {_mm_or_si128(_mm_and_si128(mask.v, a.v), _mm_andnot_si128(mask.v, b.v))};
    }

    // d / n toward zero in single precision: d (|d| <= 2047) and n (1..8)
    // are exact floats, and a quotient that is not a whole number lies at
    // least 1/8 from one, far beyond the division's rounding error, so
    // truncating gives the integer quotient.
    DEMOSAIC_SSE2_INLINE static V DivTrunc(V d, V n) {
        const __m128i zero = _mm_setzero_si128();
        const auto divide = [](__m128i d32, __m128i n32) {
            return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(d32), _mm_cvtepi32_ps(n32)));
        };
        // Sign-extend d and zero-extend n to 32 bits.
        const __m128i low = divide(_mm_srai_epi32(_mm_unpacklo_epi16(d.v, d.v), 16),
                                   _mm_unpacklo_epi16(n.v, zero));
        const __m128i high = divide(_mm_srai_epi32(_mm_unpackhi_epi16(d.v, d.v), 16),
                                    _mm_unpackhi_epi16(n.v, zero));
        return {_mm_packs_epi32(low, high)};
    }

    // 8 pairs of pixels; values 0..255. Only `pixels` pixels are written.
    DEMOSAIC_SSE2_INLINE static void StorePairs(std::uint8_t* bgr, int pixels, V b0, V g0, V r0,
                                                V b1, V g1, V r1) {
        const __m128i b = _mm_or_si128(b0.v, _mm_slli_epi16(b1.v, 8));
        const __m128i g = _mm_or_si128(g0.v, _mm_slli_epi16(g1.v, 8));
        const __m128i r = _mm_or_si128(r0.v, _mm_slli_epi16(r1.v, 8));
        if (pixels >= 16) {
            StoreBgr16(bgr, b, g, r);
            return;
        }
        std::uint8_t tail[48];
        StoreBgr16(tail, b, g, r);
        std::memcpy(bgr, tail, std::size_t(pixels) * 3);
    }
};

// count is a multiple of 16.
void SplitSse2(const std::uint8_t* bytes, std::int16_t* even, std::int16_t* odd, int count) {
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (int i = 0; i < count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 2 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(even + i), _mm_and_si128(v, lowBytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(odd + i), _mm_srli_epi16(v, 8));
    }
}

constexpr DemosaicPath kSse2Path = demosaic::MakePath<Sse2Lanes>(&SplitSse2);

#undef DEMOSAIC_SSE2_INLINE

}  // namespace

const DemosaicPath* Sse2DemosaicPath() { return &kSse2Path; }

#else

const DemosaicPath* Sse2DemosaicPath() { return nullptr; }

#endif
