// AVX2 path of the demosaicing: the site formulas on sixteen 16-bit lanes,
// one site class per vector (the rows are split by column parity), so one
// step makes 32 pixels. Used only when the processor reports AVX2.
//
// Every function here carries the AVX2 target attribute (a pragma would be
// gcc's alone) and has internal linkage (the lane type lives in an anonymous
// namespace), so no function compiled for AVX2 can stand in for one of the
// plain path at link time.
#include "demosaic_paths.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#include <immintrin.h>

#include <cstring>

#define DEMOSAIC_TARGET __attribute__((target("avx2")))
#include "demosaic_sites.h"

namespace {

#define DEMOSAIC_AVX2_INLINE [[gnu::always_inline]] inline DEMOSAIC_TARGET

struct V16 {
    __m256i v;
};

DEMOSAIC_AVX2_INLINE V16 operator+(V16 a, V16 b) { return {_mm256_add_epi16(a.v, b.v)}; }
DEMOSAIC_AVX2_INLINE V16 operator-(V16 a, V16 b) { return {_mm256_sub_epi16(a.v, b.v)}; }
DEMOSAIC_AVX2_INLINE V16 operator&(V16 a, V16 b) { return {_mm256_and_si256(a.v, b.v)}; }
DEMOSAIC_AVX2_INLINE V16 operator|(V16 a, V16 b) { return {_mm256_or_si256(a.v, b.v)}; }
DEMOSAIC_AVX2_INLINE V16 operator~(V16 a) { return {_mm256_xor_si256(a.v, _mm256_set1_epi32(-1))}; }
DEMOSAIC_AVX2_INLINE V16 operator<<(V16 a, int n) { return {_mm256_slli_epi16(a.v, n)}; }
DEMOSAIC_AVX2_INLINE V16 operator>>(V16 a, int n) { return {_mm256_srai_epi16(a.v, n)}; }

// pshufb masks that interleave 32 blue, 32 green and 32 red bytes into 96
// bytes of pixels: kBgr.m[c][ch] picks channel ch's bytes of output chunk c
// (16 bytes) for the pixels of each 128-bit half.
struct BgrMasks {
    std::int8_t m[3][3][32];
};

constexpr BgrMasks MakeBgrMasks() {
    BgrMasks t{};
    for (int c = 0; c < 3; ++c)
        for (int ch = 0; ch < 3; ++ch)
            for (int i = 0; i < 32; ++i) {
                const int k = 16 * c + i % 16;
                t.m[c][ch][i] = std::int8_t(k % 3 == ch ? k / 3 : -128);
            }
    return t;
}

constexpr BgrMasks kBgr = MakeBgrMasks();

DEMOSAIC_AVX2_INLINE __m256i Mask(int c, int ch) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kBgr.m[c][ch]));
}

// 32 pixels given as 32 blue, green and red bytes in pixel order.
DEMOSAIC_AVX2_INLINE void StoreBgr32(std::uint8_t* out, __m256i b, __m256i g, __m256i r) {
    __m256i o[3];
    for (int c = 0; c < 3; ++c)
        o[c] = _mm256_or_si256(
            _mm256_or_si256(_mm256_shuffle_epi8(b, Mask(c, 0)), _mm256_shuffle_epi8(g, Mask(c, 1))),
            _mm256_shuffle_epi8(r, Mask(c, 2)));
    // Each o[c] holds chunk c of pixels 0..15 low and of pixels 16..31 high.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_permute2x128_si256(o[0], o[1], 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32),
                        _mm256_permute2x128_si256(o[2], o[0], 0x30));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 64),
                        _mm256_permute2x128_si256(o[1], o[2], 0x31));
}

struct Avx2Lanes {
    using V = V16;
    static constexpr int kLanes = 16;

    DEMOSAIC_AVX2_INLINE static V Load(const std::int16_t* p) {
        return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))};
    }
    DEMOSAIC_AVX2_INLINE static V Set(int k) { return {_mm256_set1_epi16(short(k))}; }
    DEMOSAIC_AVX2_INLINE static V AbsDiff(V a, V b) {
        return {_mm256_abs_epi16(_mm256_sub_epi16(a.v, b.v))};
    }
    DEMOSAIC_AVX2_INLINE static V SubSat(V a, V b) { return {_mm256_subs_epu16(a.v, b.v)}; }
    DEMOSAIC_AVX2_INLINE static V Min(V a, V b) { return {_mm256_min_epi16(a.v, b.v)}; }
    DEMOSAIC_AVX2_INLINE static V Max(V a, V b) { return {_mm256_max_epi16(a.v, b.v)}; }
    DEMOSAIC_AVX2_INLINE static V Less(V a, V b) { return {_mm256_cmpgt_epi16(b.v, a.v)}; }
    DEMOSAIC_AVX2_INLINE static bool All(V mask) { return _mm256_movemask_epi8(mask.v) == -1; }
    DEMOSAIC_AVX2_INLINE static V Select(V mask, V a, V b) {
        return {_mm256_blendv_epi8(b.v, a.v, mask.v)};
    }

    // d / n toward zero for |d| <= 2047 and n = 1..8: |d| * 2 * m >> 16 with
    // m = 32768 for n = 1 and 32768 / n + 1 otherwise is exact over that
    // range. m comes from a 16-bit table by pshufb; n = 8 wraps to entry 0.
    DEMOSAIC_AVX2_INLINE static V DivTrunc(V d, V n) {
        const __m256i table =
            _mm256_setr_epi16(4097, short(32768), 16385, 10923, 8193, 6554, 5462, 4682, 4097,
                              short(32768), 16385, 10923, 8193, 6554, 5462, 4682);
        const __m256i index = _mm256_add_epi16(_mm256_mullo_epi16(n.v, _mm256_set1_epi16(0x0202)),
                                               _mm256_set1_epi16(0x0100));
        const __m256i m = _mm256_shuffle_epi8(table, index);
        const __m256i q = _mm256_mulhi_epu16(_mm256_slli_epi16(_mm256_abs_epi16(d.v), 1), m);
        return {_mm256_sign_epi16(q, d.v)};
    }

    // 16 pairs of pixels; values 0..255. Only `pixels` pixels are written.
    DEMOSAIC_AVX2_INLINE static void StorePairs(std::uint8_t* bgr, int pixels, V b0, V g0, V r0,
                                                V b1, V g1, V r1) {
        const __m256i b = _mm256_or_si256(b0.v, _mm256_slli_epi16(b1.v, 8));
        const __m256i g = _mm256_or_si256(g0.v, _mm256_slli_epi16(g1.v, 8));
        const __m256i r = _mm256_or_si256(r0.v, _mm256_slli_epi16(r1.v, 8));
        if (pixels >= 32) {
            StoreBgr32(bgr, b, g, r);
            return;
        }
        std::uint8_t tail[96];
        StoreBgr32(tail, b, g, r);
        std::memcpy(bgr, tail, std::size_t(pixels) * 3);
    }
};

// count is a multiple of 16.
DEMOSAIC_TARGET void SplitAvx2(const std::uint8_t* bytes, std::int16_t* even, std::int16_t* odd, int count) {
    const __m256i gather = _mm256_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15, 0,
                                            2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
    for (int i = 0; i < count; i += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 2 * i));
        // Per half: 8 even bytes, 8 odd bytes; then evens low, odds high.
        const __m256i s = _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, gather), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(even + i),
                            _mm256_cvtepu8_epi16(_mm256_castsi256_si128(s)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(odd + i),
                            _mm256_cvtepu8_epi16(_mm256_extracti128_si256(s, 1)));
    }
}

// Constant-initialised: nothing compiled for AVX2 runs at load time.
constexpr DemosaicPath kAvx2Path = demosaic::MakePath<Avx2Lanes>(&SplitAvx2);

#undef DEMOSAIC_AVX2_INLINE

}  // namespace

const DemosaicPath* Avx2DemosaicPath() {
    return __builtin_cpu_supports("avx2") ? &kAvx2Path : nullptr;
}

#else

const DemosaicPath* Avx2DemosaicPath() { return nullptr; }

#endif
