// Pow, Cos and Acos from IEEE-754 basic operations alone. Values that must
// keep more than 53 bits are carried as unevaluated pairs hi + lo (lo far
// below hi), built on the exact error-free transformations: the rounding
// error of a sum (TwoSum) and of a product (TwoProduct, Dekker's product on
// Veltkamp's split, since no fused multiply-add may be used). Each function
// works to about 2^-75 relative or better and rounds once at the end, so its
// result is the correctly rounded value except in rare cases that lie closer
// than that to a rounding half.
//
// Pow(x, y) = e^(y ln x): ln x as a pair, from a table of 47 points c near
// 1 with ln c stored as pairs and a series for ln(1 + r), |r| < 0.0112;
// e^t from a table of 2^(j/64) and a series on |r| <= ln 2 / 128.
// Cos(x): x reduced to r = x - k pi/2, |r| <= pi/4 (pi/2 in four parts up to
// 2^21; beyond, x times the bits of 2/pi in integer arithmetic), then cos or
// sin of r from a table of both at multiples of 1/16 and series on the
// remaining |d| <= 1/32.
// Acos(x): pi/2 - asin x for |x| <= 1/2, otherwise 2 asin(sqrt((1 - |x|)/2))
// (pi minus that for x < 0), asin from its series on |s| <= 1/2.
// A table constant is its named value rounded to double, or for a pair the
// value rounded and the remainder rounded; tools/portable_math_constants.py
// prints them.
#include "portable_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace portable {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kFractionMask = (std::uint64_t(1) << 52) - 1;
constexpr std::uint64_t kSignBit = std::uint64_t(1) << 63;

// ---- exact building blocks ------------------------------------------------

struct Pair {
    double hi, lo;
};

std::uint64_t BitsOf(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double FromBits(std::uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

double Abs(double x) { return FromBits(BitsOf(x) & ~kSignBit); }

// 2^n for -1022 <= n <= 1023.
double PowerOfTwo(int n) { return FromBits(std::uint64_t(n + 1023) << 52); }

// The integer nearest to x (ties to even) for |x| < 2^51: adding 1.5 * 2^52
// leaves no bits below the units.
double RoundToInteger(double x) {
    constexpr double kShifter = 0x1.8p52;
    return (x + kShifter) - kShifter;
}

// a + b = s + e exactly.
constexpr Pair TwoSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    const double aPart = s - bPart;
    return {s, (a - aPart) + (b - bPart)};
}

// The same when |a| >= |b| (or a is 0).
constexpr Pair FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a = hi + lo with both halves of at most 26 significant bits.
constexpr Pair Split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b = p + e exactly (barring overflow).
constexpr Pair TwoProduct(double a, double b) {
    const double p = a * b;
    const Pair x = Split(a);
    const Pair y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// Sum and product of pairs, to about 2^-104 relative (the sum when the
// operands do not nearly cancel).
constexpr Pair Add(Pair a, Pair b) {
    const Pair s = TwoSum(a.hi, b.hi);
    return FastTwoSum(s.hi, s.lo + (a.lo + b.lo));
}

constexpr Pair Multiply(Pair a, Pair b) {
    const Pair p = TwoProduct(a.hi, b.hi);
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr Pair Negated(Pair a) { return {-a.hi, -a.lo}; }

// p / q as a pair, for an integer p and a small integer q (or a power of two
// times one) whose quotient is a coefficient of a series.
constexpr Pair Ratio(double p, double q) {
    const double hi = p / q;
    const Pair back = TwoProduct(hi, q);
    return {hi, ((p - back.hi) - back.lo) / q};
}

// (hi + lo) * 2^n rounded once, for hi in [1/2, 4) and -1100 < n < 1030.
// Below the normal range the rounding step is 2^-1074: at the scale
// 2^(n + 600) that is the ulp of kStep, so adding kStep rounds the pair once
// onto the subnormal grid, and the rest is exact.
double Scale(Pair v, int n) {
    if (n < -1022) {
        constexpr double kStep = 0x1p-422;
        const double hi = v.hi * PowerOfTwo(n + 600);
        const double lo = v.lo * PowerOfTwo(n + 600);
        const Pair s = TwoSum(kStep, hi);
        return ((s.hi + (s.lo + lo)) - kStep) * PowerOfTwo(-600);
    }
    const double w = v.hi + v.lo;
    if (n > 1023) return w * PowerOfTwo(1023) * PowerOfTwo(n - 1023);
    return w * PowerOfTwo(n);
}

// ---- natural logarithm ----------------------------------------------------

// ln 2 = kLn2Hi + kLn2Lo; kLn2Hi has 42 significant bits, so e * kLn2Hi is
// exact for every binary exponent e of a double.
constexpr double kLn2Hi = 0x1.62e42fefa3800p-1;
constexpr double kLn2Lo = 0x1.ef35793c76730p-45;
constexpr double kSqrt2 = 0x1.6a09e667f3bcdp+0;

// For c = 1 + j/64, j = -19 .. 27: inverse = 1/c rounded to double, and
// -ln(inverse) as a pair. Since the pair belongs to the rounded inverse,
// m = (m * inverse) / inverse holds exactly and no error comes from c.
struct LogPoint {
    double inverse, logHi, logLo;
};
constexpr int kLogFirst = -19;
constexpr LogPoint kLogPoints[] = {
    {0x1.6c16c16c16c17p+0, -0x1.68ac83e9c6a15p-2, 0x1.acd8a9145ff44p-57},  // j = -19
    {0x1.642c8590b2164p+0, -0x1.522ae0738a3d7p-2, -0x1.3840b263acb43p-56},  // j = -18
    {0x1.5c9882b931057p+0, -0x1.3c25277333183p-2, -0x1.152d81af5713ap-56},  // j = -17
    {0x1.5555555555555p+0, -0x1.269621134db91p-2, -0x1.e0efadd9db02ap-56},  // j = -16
    {0x1.4e5e0a72f0539p+0, -0x1.1178e8227e47ap-2, -0x1.b8ce2d07f1cb7p-56},  // j = -15
    {0x1.47ae147ae147bp+0, -0x1.f991c6cb3b37ap-3, -0x1.ecca0cdf30143p-58},  // j = -14
    {0x1.4141414141414p+0, -0x1.d1037f2655e7bp-3, 0x1.3f3adb7b71cbcp-58},  // j = -13
    {0x1.3b13b13b13b14p+0, -0x1.a93ed3c8ad9e5p-3, -0x1.bcafa9de97202p-57},  // j = -12
    {0x1.3521cfb2b78c1p+0, -0x1.823c16551a3c0p-3, -0x1.6dcd318f4187ep-57},  // j = -11
    {0x1.2f684bda12f68p+0, -0x1.5bf406b543db0p-3, 0x1.1f5b44c0df7f7p-61},  // j = -10
    {0x1.29e4129e4129ep+0, -0x1.365fcb0159014p-3, -0x1.bea08d2dca256p-57},  // j = -9
    {0x1.2492492492492p+0, -0x1.1178e8227e47ap-3, 0x1.0e63a5f01c693p-58},  // j = -8
    {0x1.1f7047dc11f70p+0, -0x1.da7276384469ep-4, -0x1.401fa71733017p-58},  // j = -7
    {0x1.1a7b9611a7b96p+0, -0x1.9335e5d594988p-4, 0x1.478a85704ccb7p-58},  // j = -6
    {0x1.15b1e5f75270dp+0, -0x1.4d3115d207eacp-4, -0x1.da7d0b1e10b2fp-60},  // j = -5
    {0x1.1111111111111p+0, -0x1.08598b59e3a06p-4, 0x1.dd7009902bf32p-58},  // j = -4
    {0x1.0c9714fbcda3bp+0, -0x1.894aa149fb34bp-5, 0x1.2ba0b44cfaee5p-59},  // j = -3
    {0x1.0842108421084p+0, -0x1.0415d89e74440p-5, -0x1.c05cf1d753621p-59},  // j = -2
    {0x1.0410410410410p+0, -0x1.0205658935837p-6, -0x1.27c8e8416e717p-60},  // j = -1
    {0x1.0000000000000p+0, 0x0.0p+0, 0x0.0p+0},  // j = 0
    {0x1.f81f81f81f820p-1, 0x1.fc0a8b0fc03c4p-7, -0x1.83092c5964281p-62},  // j = 1
    {0x1.f07c1f07c1f08p-1, 0x1.f829b0e7832f8p-6, 0x1.33e3f04f1ef25p-60},  // j = 2
    {0x1.e9131abf0b767p-1, 0x1.77458f632dcffp-5, 0x1.8d3ca87b92968p-63},  // j = 3
    {0x1.e1e1e1e1e1e1ep-1, 0x1.f0a30c01162a8p-5, 0x1.85f325c5bbacdp-59},  // j = 4
    {0x1.dae6076b981dbp-1, 0x1.341d7961bd1d0p-4, -0x1.3599f227becbbp-58},  // j = 5
    {0x1.d41d41d41d41dp-1, 0x1.6f0d28ae56b4ep-4, -0x1.20db323097324p-59},  // j = 6
    {0x1.cd85689039b0bp-1, 0x1.a926d3a4ad562p-4, -0x1.d7a16eab1e2adp-59},  // j = 7
    {0x1.c71c71c71c71cp-1, 0x1.e27076e2af2eap-4, -0x1.61578001e015ap-60},  // j = 8
    {0x1.c0e070381c0e0p-1, 0x1.0d77e7cd08e5bp-3, 0x1.9a5dc5e9030adp-57},  // j = 9
    {0x1.bacf914c1bad0p-1, 0x1.29552f81ff521p-3, 0x1.301771c407dc0p-57},  // j = 10
    {0x1.b4e81b4e81b4fp-1, 0x1.44d2b6ccb7d1cp-3, 0x1.7d3d950f87e23p-59},  // j = 11
    {0x1.af286bca1af28p-1, 0x1.5ff3070a793d6p-3, -0x1.bc60efafc6f6cp-58},  // j = 12
    {0x1.a98ef606a63bep-1, 0x1.7ab890210d907p-3, -0x1.1072534a57e7dp-57},  // j = 13
    {0x1.a41a41a41a41ap-1, 0x1.9525a9cf456b6p-3, -0x1.26fb3e2b1d1dap-57},  // j = 14
    {0x1.9ec8e951033d9p-1, 0x1.af3c94e80bff3p-3, 0x1.a3398064df33ep-57},  // j = 15
    {0x1.999999999999ap-1, 0x1.c8ff7c79a9a20p-3, -0x1.4f689f8434011p-57},  // j = 16
    {0x1.948b0fcd6e9e0p-1, 0x1.e27076e2af2e8p-3, -0x1.61578001e015ep-59},  // j = 17
    {0x1.8f9c18f9c18fap-1, 0x1.fb9186d5e3e29p-3, 0x1.355519b0de535p-57},  // j = 18
    {0x1.8acb90f6bf3aap-1, 0x1.0a324e27390e2p-2, 0x1.bdcfde8061c03p-56},  // j = 19
    {0x1.8618618618618p-1, 0x1.1675cababa60fp-2, 0x1.ce63eab883727p-61},  // j = 20
    {0x1.8181818181818p-1, 0x1.22941fbcf7966p-2, -0x1.dbd7ac258a2bdp-58},  // j = 21
    {0x1.7d05f417d05f4p-1, 0x1.2e8e2bae11d31p-2, -0x1.1e99b72bd7bf2p-57},  // j = 22
    {0x1.78a4c8178a4c8p-1, 0x1.3a64c556945eap-2, 0x1.cbcd735d03424p-60},  // j = 23
    {0x1.745d1745d1746p-1, 0x1.4618bc21c5ec2p-2, -0x1.7a42642661c62p-61},  // j = 24
    {0x1.702e05c0b8170p-1, 0x1.51aad872df82ep-2, -0x1.d8db0a7cc1543p-56},  // j = 25
    {0x1.6c16c16c16c17p-1, 0x1.5d1bdbf5809cap-2, -0x1.7dc9c7c23801fp-56},  // j = 26
    {0x1.6816816816817p-1, 0x1.686c81e9b14adp-2, 0x1.710af840538e3p-56},  // j = 27
};

// ln x as a pair, for finite x > 0. x = 2^e m with m in [sqrt(1/2), sqrt(2)),
// m = c (1 + r) with c the nearest table point, and ln x = e ln 2 + ln c +
// ln(1 + r), where r = m * inverse - 1 is exact and |r| < 0.0112.
Pair Log(double x) {
    int e = 0;
    if (x < 0x1p-1022) {  // subnormal: make it normal first
        x *= 0x1p54;
        e = -54;
    }
    const std::uint64_t bits = BitsOf(x);
    e += static_cast<int>(bits >> 52) - 1023;
    double m = FromBits((bits & kFractionMask) | (std::uint64_t(1023) << 52));
    if (m > kSqrt2) {
        m *= 0.5;
        ++e;
    }
    const double position = (m - 1.0) * 64.0;  // exact
    const int j = static_cast<int>(position >= 0 ? position + 0.5 : position - 0.5);
    const LogPoint& point = kLogPoints[j - kLogFirst];

    const Pair product = TwoProduct(m, point.inverse);
    const Pair r = TwoSum(product.hi - 1.0, product.lo);  // product.hi - 1 is exact
    // ln(1 + r) = r + r^2 (-1/2 + r (1/3 + r (-1/4 + r (1/5 - ...)))), the
    // first three coefficients as pairs, the rest (entering below 2^-25 of r)
    // plainly up to r^13/13.
    constexpr Pair kThird = Ratio(1, 3);
    const double h = r.hi;
    double tail = 1.0 / 13;
    for (int n = 12; n >= 5; --n) tail = tail * h + (n % 2 ? 1.0 : -1.0) / n;
    Pair series = Add({-0.25, 0.0}, Multiply(r, {tail, 0.0}));
    series = Add(kThird, Multiply(r, series));
    series = Add({-0.5, 0.0}, Multiply(r, series));
    const Pair log1p = Add(r, Multiply(Multiply(r, r), series));

    const Pair powerOfTwo = {e * kLn2Hi, e * kLn2Lo};  // the first product is exact
    return Add(Add(powerOfTwo, {point.logHi, point.logLo}), log1p);
}

// ---- exponential ----------------------------------------------------------

constexpr double kSixtyFourOverLn2 = 0x1.71547652b82fep+6;
// ln 2 / 64 = kLn2Over64Hi + kLn2Over64Lo; the high part has 36 significant
// bits, so k * kLn2Over64Hi is exact for |k| < 2^17.
constexpr double kLn2Over64Hi = 0x1.62e42fefa0000p-7;
constexpr double kLn2Over64Lo = 0x1.cf79abc9e3b3ap-46;

// 2^(j/64) for j = 0 .. 63 as pairs.
constexpr Pair kTwoToTheSixtyFourths[] = {
    {0x1.0000000000000p+0, 0x0.0p+0},  // 2^(0/64)
    {0x1.02c9a3e778061p+0, -0x1.19083535b085dp-56},  // 2^(1/64)
    {0x1.059b0d3158574p+0, 0x1.d73e2a475b465p-55},  // 2^(2/64)
    {0x1.0874518759bc8p+0, 0x1.186be4bb284ffp-57},  // 2^(3/64)
    {0x1.0b5586cf9890fp+0, 0x1.8a62e4adc610bp-54},  // 2^(4/64)
    {0x1.0e3ec32d3d1a2p+0, 0x1.03a1727c57b53p-59},  // 2^(5/64)
    {0x1.11301d0125b51p+0, -0x1.6c51039449b3ap-54},  // 2^(6/64)
    {0x1.1429aaea92de0p+0, -0x1.32fbf9af1369ep-54},  // 2^(7/64)
    {0x1.172b83c7d517bp+0, -0x1.19041b9d78a76p-55},  // 2^(8/64)
    {0x1.1a35beb6fcb75p+0, 0x1.e5b4c7b4968e4p-55},  // 2^(9/64)
    {0x1.1d4873168b9aap+0, 0x1.e016e00a2643cp-54},  // 2^(10/64)
    {0x1.2063b88628cd6p+0, 0x1.dc775814a8495p-55},  // 2^(11/64)
    {0x1.2387a6e756238p+0, 0x1.9b07eb6c70573p-54},  // 2^(12/64)
    {0x1.26b4565e27cddp+0, 0x1.2bd339940e9d9p-55},  // 2^(13/64)
    {0x1.29e9df51fdee1p+0, 0x1.612e8afad1255p-55},  // 2^(14/64)
    {0x1.2d285a6e4030bp+0, 0x1.0024754db41d5p-54},  // 2^(15/64)
    {0x1.306fe0a31b715p+0, 0x1.6f46ad23182e4p-55},  // 2^(16/64)
    {0x1.33c08b26416ffp+0, 0x1.32721843659a6p-54},  // 2^(17/64)
    {0x1.371a7373aa9cbp+0, -0x1.63aeabf42eae2p-54},  // 2^(18/64)
    {0x1.3a7db34e59ff7p+0, -0x1.5e436d661f5e3p-56},  // 2^(19/64)
    {0x1.3dea64c123422p+0, 0x1.ada0911f09ebcp-55},  // 2^(20/64)
    {0x1.4160a21f72e2ap+0, -0x1.ef3691c309278p-58},  // 2^(21/64)
    {0x1.44e086061892dp+0, 0x1.89b7a04ef80d0p-59},  // 2^(22/64)
    {0x1.486a2b5c13cd0p+0, 0x1.3c1a3b69062f0p-56},  // 2^(23/64)
    {0x1.4bfdad5362a27p+0, 0x1.d4397afec42e2p-56},  // 2^(24/64)
    {0x1.4f9b2769d2ca7p+0, -0x1.4b309d25957e3p-54},  // 2^(25/64)
    {0x1.5342b569d4f82p+0, -0x1.07abe1db13cadp-55},  // 2^(26/64)
    {0x1.56f4736b527dap+0, 0x1.9bb2c011d93adp-54},  // 2^(27/64)
    {0x1.5ab07dd485429p+0, 0x1.6324c054647adp-54},  // 2^(28/64)
    {0x1.5e76f15ad2148p+0, 0x1.ba6f93080e65ep-54},  // 2^(29/64)
    {0x1.6247eb03a5585p+0, -0x1.383c17e40b497p-54},  // 2^(30/64)
    {0x1.6623882552225p+0, -0x1.bb60987591c34p-54},  // 2^(31/64)
    {0x1.6a09e667f3bcdp+0, -0x1.bdd3413b26456p-54},  // 2^(32/64)
    {0x1.6dfb23c651a2fp+0, -0x1.bbe3a683c88abp-57},  // 2^(33/64)
    {0x1.71f75e8ec5f74p+0, -0x1.16e4786887a99p-55},  // 2^(34/64)
    {0x1.75feb564267c9p+0, -0x1.0245957316dd3p-54},  // 2^(35/64)
    {0x1.7a11473eb0187p+0, -0x1.41577ee04992fp-55},  // 2^(36/64)
    {0x1.7e2f336cf4e62p+0, 0x1.05d02ba15797ep-56},  // 2^(37/64)
    {0x1.82589994cce13p+0, -0x1.d4c1dd41532d8p-54},  // 2^(38/64)
    {0x1.868d99b4492edp+0, -0x1.fc6f89bd4f6bap-54},  // 2^(39/64)
    {0x1.8ace5422aa0dbp+0, 0x1.6e9f156864b27p-54},  // 2^(40/64)
    {0x1.8f1ae99157736p+0, 0x1.5cc13a2e3976cp-55},  // 2^(41/64)
    {0x1.93737b0cdc5e5p+0, -0x1.75fc781b57ebcp-57},  // 2^(42/64)
    {0x1.97d829fde4e50p+0, -0x1.d185b7c1b85d1p-54},  // 2^(43/64)
    {0x1.9c49182a3f090p+0, 0x1.c7c46b071f2bep-56},  // 2^(44/64)
    {0x1.a0c667b5de565p+0, -0x1.359495d1cd533p-54},  // 2^(45/64)
    {0x1.a5503b23e255dp+0, -0x1.d2f6edb8d41e1p-54},  // 2^(46/64)
    {0x1.a9e6b5579fdbfp+0, 0x1.0fac90ef7fd31p-54},  // 2^(47/64)
    {0x1.ae89f995ad3adp+0, 0x1.7a1cd345dcc81p-54},  // 2^(48/64)
    {0x1.b33a2b84f15fbp+0, -0x1.2805e3084d708p-57},  // 2^(49/64)
    {0x1.b7f76f2fb5e47p+0, -0x1.5584f7e54ac3bp-56},  // 2^(50/64)
    {0x1.bcc1e904bc1d2p+0, 0x1.23dd07a2d9e84p-55},  // 2^(51/64)
    {0x1.c199bdd85529cp+0, 0x1.11065895048ddp-55},  // 2^(52/64)
    {0x1.c67f12e57d14bp+0, 0x1.2884dff483cadp-54},  // 2^(53/64)
    {0x1.cb720dcef9069p+0, 0x1.503cbd1e949dbp-56},  // 2^(54/64)
    {0x1.d072d4a07897cp+0, -0x1.cbc3743797a9cp-54},  // 2^(55/64)
    {0x1.d5818dcfba487p+0, 0x1.2ed02d75b3707p-55},  // 2^(56/64)
    {0x1.da9e603db3285p+0, 0x1.c2300696db532p-54},  // 2^(57/64)
    {0x1.dfc97337b9b5fp+0, -0x1.1a5cd4f184b5cp-54},  // 2^(58/64)
    {0x1.e502ee78b3ff6p+0, 0x1.39e8980a9cc8fp-55},  // 2^(59/64)
    {0x1.ea4afa2a490dap+0, -0x1.e9c23179c2893p-54},  // 2^(60/64)
    {0x1.efa1bee615a27p+0, 0x1.dc7f486a4b6b0p-54},  // 2^(61/64)
    {0x1.f50765b6e4540p+0, 0x1.9d3e12dd8a18bp-54},  // 2^(62/64)
    {0x1.fa7c1819e90d8p+0, 0x1.74853f3a5931ep-55},  // 2^(63/64)
};

// 1/n! for n = 0 .. 8.
constexpr double kInverseFactorials[] = {1.0,       1.0,        1.0 / 2,    1.0 / 6,    1.0 / 24,
                                         1.0 / 120, 1.0 / 720, 1.0 / 5040, 1.0 / 40320};

// e^(hi + lo) rounded once, for |lo| at most an ulp of hi. With t = hi + lo
// = k ln 2 / 64 + r and |r| <= ln 2 / 128: e^t = 2^(k div 64) 2^((k mod 64)/64) e^r.
double Exp(double hi, double lo) {
    if (hi > 709.8) return kInfinity;  // above ln(largest double)
    if (hi < -745.2) return 0.0;       // below ln(half the smallest subnormal)
    const double kd = RoundToInteger(hi * kSixtyFourOverLn2);
    const int k = static_cast<int>(kd);
    const Pair product = TwoProduct(kd, kLn2Over64Lo);
    const Pair head = TwoSum(hi - kd * kLn2Over64Hi, -product.hi);  // the first difference is exact
    const Pair r = TwoSum(head.hi, head.lo + (lo - product.lo));
    // e^r - 1 = r + r^2 (1/2 + r (1/6 + r (1/24 + ...))), the first two
    // coefficients as pairs, the rest (entering below 2^-27 of r) plainly up
    // to r^9/9!.
    constexpr Pair kSixth = Ratio(1, 6);
    const double h = r.hi;
    double tail = 1.0 / 362880;
    for (int n = 8; n >= 4; --n) tail = tail * h + kInverseFactorials[n];
    Pair series = Add(kSixth, Multiply(r, {tail, 0.0}));
    series = Add({0.5, 0.0}, Multiply(r, series));
    const Pair expm1 = Add(r, Multiply(Multiply(r, r), series));

    const int j = k & 63;
    const Pair v = Multiply(kTwoToTheSixtyFourths[j], Add({1.0, 0.0}, expm1));
    return Scale(v, (k - j) / 64);
}

// ---- power ----------------------------------------------------------------

bool IsInteger(double y) {
    if (Abs(y) >= 0x1p52) return true;  // infinities count as even integers
    return static_cast<double>(static_cast<std::int64_t>(y)) == y;
}

bool IsOddInteger(double y) {
    return Abs(y) < 0x1p53 && IsInteger(y) && (static_cast<std::int64_t>(y) & 1) != 0;
}

// x^y for x > 0 finite and y finite, non-zero.
double PositivePow(double x, double y) {
    const Pair l = Log(x);
    const double estimate = y * l.hi;
    if (estimate > 710.0) return kInfinity;
    if (estimate < -746.0) return 0.0;
    // Here |y| < 2^63 (|ln x| >= 2^-53 for x != 1), so the product cannot overflow.
    const Pair t = TwoProduct(y, l.hi);
    const Pair sum = FastTwoSum(t.hi, t.lo + y * l.lo);
    return Exp(sum.hi, sum.lo);
}

// ---- cosine ---------------------------------------------------------------

// pi/2 in four parts; the first three have at most 32 significant bits, so
// k times each is exact for k < 2^21.
constexpr double kPiOver2Part1 = 0x1.921fb54400000p+0;
constexpr double kPiOver2Part2 = 0x1.0b4611a600000p-34;
constexpr double kPiOver2Part3 = 0x1.3198a2e000000p-69;
constexpr double kPiOver2Part4 = 0x1.b839a252049c1p-104;
constexpr double kPiOver2Hi = 0x1.921fb54442d18p+0;
constexpr double kPiOver2Lo = 0x1.1a62633145c07p-54;
constexpr double kPiHi = 0x1.921fb54442d18p+1;
constexpr double kPiLo = 0x1.1a62633145c07p-53;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kLargeArgument = 0x1p21;

// 2/pi = sum of kTwoOverPiWords[i] 2^(-32 (i + 1)): its first 1280 bits,
// enough for the largest double.
constexpr std::uint32_t kTwoOverPiWords[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041,
    0xFE5163AB, 0xDEBBC561, 0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C,
    0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484, 0xE99C7026, 0xB45F7E41,
    0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D,
    0x7527BAC7, 0xEBE5F17B, 0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08,
    0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D,
};
constexpr int kTwoOverPiWordCount = sizeof kTwoOverPiWords / sizeof kTwoOverPiWords[0];

struct Reduced {
    int quadrant;  // k mod 4
    Pair r;        // x - k pi/2, |r| <= pi/4 (plus rounding)
};

// Cody and Waite's reduction for 0 <= x < 2^21: x - k * part1 is exact, the
// next two products are exact and their differences are kept as pairs.
Reduced ReduceModerate(double x) {
    const double kd = RoundToInteger(x * kTwoOverPi);
    const Pair first = TwoSum(x - kd * kPiOver2Part1, -kd * kPiOver2Part2);
    const Pair second = TwoSum(first.hi, -kd * kPiOver2Part3);
    const double low = (first.lo + second.lo) - kd * kPiOver2Part4;
    return {static_cast<int>(kd) & 3, TwoSum(second.hi, low)};
}

// Bit number `position` (0 = least significant) of a little-endian number.
int BitAt(const std::uint32_t* words, int wordCount, int position) {
    if (position < 0 || position >= wordCount * 32) return 0;
    return (words[position >> 5] >> (position & 31)) & 1;
}

// `count` (at most 53) bits from `position` upwards, as an integer.
std::uint64_t BitsAt(const std::uint32_t* words, int wordCount, int position, int count) {
    std::uint64_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 1) | BitAt(words, wordCount, position + i);
    return v;
}

// Payne and Hanek's reduction for x >= 2^21: x = M 2^E with a 53-bit integer
// M, and x * 2/pi mod 4 is M times a window of the bits of 2/pi, since the
// bits before the window only add multiples of 4. Eight words of 2/pi after
// the window's start leave an error below 2^-160 in the fraction.
Reduced ReduceLarge(double x) {
    constexpr int kWindowWords = 8;
    constexpr int kProductWords = kWindowWords + 2;
    const std::uint64_t bits = BitsOf(x);
    const int e = static_cast<int>(bits >> 52) - 1075;
    const std::uint64_t mantissa = (bits & kFractionMask) | (std::uint64_t(1) << 52);
    // Word i weighs 2^(-32 (i + 1)); M * word * 2^e is a multiple of 4 when
    // e - 32 (i + 1) >= 2.
    const int first = e >= 34 ? (e - 34) / 32 + 1 : 0;

    // product = M * window, little-endian 32-bit words; the binary point of
    // x * 2/pi lies `point` bits up.
    std::uint32_t product[kProductWords] = {};
    const std::uint64_t halves[2] = {mantissa & 0xFFFFFFFFu, mantissa >> 32};
    for (int h = 0; h < 2; ++h) {
        std::uint64_t carry = 0;
        for (int n = 0; n < kWindowWords; ++n) {
            const int index = first + kWindowWords - 1 - n;
            const std::uint64_t word = index < kTwoOverPiWordCount ? kTwoOverPiWords[index] : 0;
            const std::uint64_t t = halves[h] * word + product[n + h] + carry;
            product[n + h] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        product[kWindowWords + h] += static_cast<std::uint32_t>(carry);
    }
    const int point = 32 * (first + kWindowWords) - e;

    int quadrant = static_cast<int>(BitsAt(product, kProductWords, point, 2));
    // A fraction of a half or more belongs to the next quadrant: take
    // 1 - fraction (two's complement of the bits below the point) instead.
    const bool negative = BitAt(product, kProductWords, point - 1) != 0;
    if (negative) {
        ++quadrant;
        std::uint64_t borrow = 1;
        for (int n = 0; n < kProductWords; ++n) {
            const std::uint64_t t = std::uint64_t(~product[n]) + borrow;
            product[n] = static_cast<std::uint32_t>(t);
            borrow = t >> 32;
        }
    }
    int top = point - 1;
    while (top >= 0 && !BitAt(product, kProductWords, top)) --top;
    Pair r = {0.0, 0.0};
    if (top >= 0) {
        // The fraction's leading 106 bits as two doubles.
        const double hi = static_cast<double>(BitsAt(product, kProductWords, top - 52, 53));
        const double lo = static_cast<double>(BitsAt(product, kProductWords, top - 105, 53));
        const Pair fraction = FastTwoSum(hi * PowerOfTwo(top - 52 - point),
                                         lo * PowerOfTwo(top - 105 - point));
        const Pair p = TwoProduct(fraction.hi, kPiOver2Hi);
        r = FastTwoSum(p.hi, p.lo + (fraction.hi * kPiOver2Lo + fraction.lo * kPiOver2Hi));
        if (negative) r = {-r.hi, -r.lo};
    }
    return {quadrant & 3, r};
}

// cos(j/16) and sin(j/16) for j = 0 .. 13 as pairs.
struct CosSinPoint {
    double cosHi, cosLo, sinHi, sinLo;
};
constexpr CosSinPoint kCosSinPoints[] = {
    {0x1.0000000000000p+0, 0x0.0p+0, 0x0.0p+0, 0x0.0p+0},  // 0/16
    {0x1.ff0015549f4d3p-1, 0x1.328387b99426fp-55,  // 1/16
     0x1.ffaaaeeed4edbp-5, -0x1.2d16d32684b69p-59},
    {0x1.fc015527d5bd3p-1, 0x1.b68f35094efb8p-55,  // 2/16
     0x1.feaaeee86ee36p-4, -0x1.afcb2bcc6f03bp-59},
    {0x1.f706bdf9ece1cp-1, -0x1.698c80c36dcb4p-55,  // 3/16
     0x1.7dc102fbaf2b5p-3, 0x1.5ab50e23c97c3p-59},
    {0x1.f01549f7deea1p-1, 0x1.d3c1e99e5cafdp-55,  // 4/16
     0x1.faaeed4f31577p-3, -0x1.15d88508e32b8p-57},
    {0x1.e733ea0193d40p-1, -0x1.6428b3546ce13p-55,  // 5/16
     0x1.3ad129769d3d8p-2, 0x1.03d550487839ap-63},
    {0x1.dc6b7eb995912p-1, 0x1.4b364776dcd35p-58,  // 6/16
     0x1.7710255764214p-2, -0x1.6ead7314bb6cep-57},
    {0x1.cfc6cfa52ad9fp-1, 0x1.8b5b5508f2a0dp-55,  // 7/16
     0x1.b1d8305321617p-2, -0x1.ae242cb99f519p-56},
    {0x1.c1528065b7d50p-1, -0x1.892111312e828p-55,  // 8/16
     0x1.eaee8744b05f0p-2, -0x1.789b43c9b027dp-58},
    {0x1.b11d04162a4c6p-1, 0x1.1dd561efbc0c2p-56,  // 9/16
     0x1.110d0c4b69c3bp-1, 0x1.d918998809981p-55},
    {0x1.9f368ed912f85p-1, -0x1.1d200c5791606p-55,  // 10/16
     0x1.2b91dea88421ep-1, -0x1.fa371db216ab0p-55},
    {0x1.8bb105a5dc900p-1, 0x1.863e03e9474c1p-55,  // 11/16
     0x1.44eb381cf386bp-1, -0x1.3ed6c1e6a5505p-55},
    {0x1.769fec655211fp-1, -0x1.827d5cf8c68c5p-57,  // 12/16
     0x1.5cffc16bf8f0dp-1, 0x1.96cb370eb578ap-55},
    {0x1.6018526f563dfp-1, 0x1.46ca5e0e432d0p-55,  // 13/16
     0x1.73b7680dea578p-1, -0x1.2248306dc12a2p-56},
};

// cos r or sin r for |r| <= pi/4 + a little: r = c + d with c = j/16 and
// |d| <= 1/32, cos(c + d) = cos c cos d - sin c sin d and
// sin(c + d) = sin c cos d + cos c sin d. cos d = 1 - d^2/2 + ... and
// sin d = d - d^3/6 + ... carry their leading terms as pairs and the rest
// (below 2^-14 of the leading correction) up to d^10/10! and d^11/11!
// plainly.
double CosOrSinOfReduced(Pair r, bool sine) {
    constexpr Pair kMinusSixth = Negated(Ratio(1, 6));
    const bool negative = r.hi < 0;
    if (negative) r = Negated(r);
    const int j = static_cast<int>(r.hi * 16.0 + 0.5);
    const CosSinPoint& point = kCosSinPoints[j];
    const Pair d = TwoSum(r.hi - j * 0.0625, r.lo);  // the difference is exact
    const Pair d2 = Multiply(d, d);
    const double z = d2.hi;
    const double cosRest =
        z * (1.0 / 24 + z * (-1.0 / 720 + z * (1.0 / 40320 + z * (-1.0 / 3628800))));
    const double sinRest =
        z * (1.0 / 120 + z * (-1.0 / 5040 + z * (1.0 / 362880 + z * (-1.0 / 39916800))));
    const Pair cosD = Add({1.0, 0.0}, Multiply(d2, TwoSum(-0.5, cosRest)));
    const Pair sinD = Add(d, Multiply(Multiply(d, d2), Add(kMinusSixth, {sinRest, 0.0})));
    const Pair c = {point.cosHi, point.cosLo};
    const Pair s = {point.sinHi, point.sinLo};
    if (sine) {
        const Pair v = Add(Multiply(s, cosD), Multiply(c, sinD));
        return negative ? -(v.hi + v.lo) : v.hi + v.lo;
    }
    const Pair v = Add(Multiply(c, cosD), Negated(Multiply(s, sinD)));
    return v.hi + v.lo;
}

// ---- arc cosine -----------------------------------------------------------

// The coefficients a_n of s^(2n+1) in asin s = s + a1 s^3 + a2 s^5 + ...,
// a_n = (2n)! / (4^n (n!)^2 (2n + 1)). The first ten exactly as pairs (the
// central binomial coefficient C(2n, n) is an exact double); the later ones,
// which only enter below 2^-20 of the sum, by the ratio
// a_n / a_(n-1) = (2n - 1)^2 / (2n (2n + 1)) in plain arithmetic.
constexpr int kAsinPairTerms = 10;
constexpr int kAsinTerms = 34;  // the rest: below a_35 z^35 / (1 - z) < 2^-79 for z <= 1/4

struct AsinSeries {
    Pair lead[kAsinPairTerms + 1];
    double tail[kAsinTerms + 1];
};

constexpr AsinSeries MakeAsinSeries() {
    AsinSeries series{};
    std::uint64_t central = 1;  // C(2n, n)
    double power = 1;           // 4^n
    for (int n = 1; n <= kAsinPairTerms; ++n) {
        central = central * 2 * (2 * n - 1) / n;
        power *= 4;
        series.lead[n] = Ratio(static_cast<double>(central), (2 * n + 1) * power);
    }
    double a = series.lead[kAsinPairTerms].hi;
    for (int n = kAsinPairTerms + 1; n <= kAsinTerms; ++n) {
        a = a * ((2 * n - 1) * (2 * n - 1)) / (2 * n * (2 * n + 1));
        series.tail[n] = a;
    }
    return series;
}

constexpr AsinSeries kAsinSeries = MakeAsinSeries();

// asin s for |s| <= 1/2, from s and z = s^2 as pairs:
// s + s z (a1 + a2 z + a3 z^2 + ...). The plain tail runs as two chains in
// z^2 (terms of even and of odd offset), which halves its latency.
Pair Asin(Pair s, Pair z) {
    static_assert((kAsinTerms - kAsinPairTerms) % 2 == 0, "the chains take the tail in pairs");
    const double z2 = z.hi * z.hi;
    double even = 0.0, odd = 0.0;
    for (int n = kAsinTerms - 1; n > kAsinPairTerms; n -= 2) {
        even = even * z2 + kAsinSeries.tail[n];
        odd = odd * z2 + kAsinSeries.tail[n + 1];
    }
    Pair series = {even + z.hi * odd, 0.0};
    for (int n = kAsinPairTerms; n >= 1; --n)
        series = Add(kAsinSeries.lead[n], Multiply(series, z));
    return Add(s, Multiply(Multiply(s, z), series));
}

}  // namespace

double Pow(double x, double y) {
    if (y == 0.0) return 1.0;
    if (x == 1.0) return 1.0;
    if (x != x || y != y) return x + y;
    const bool yInteger = IsInteger(y);
    bool negate = false;
    if (BitsOf(x) & kSignBit) {  // x < 0, -0 or -inf
        if (x != 0.0 && x != -kInfinity && !yInteger) return kNaN;
        negate = IsOddInteger(y);
        x = -x;
    }
    double result;
    if (x == 0.0) {
        result = y < 0 ? kInfinity : 0.0;
    } else if (x == kInfinity) {
        result = y < 0 ? 0.0 : kInfinity;
    } else if (Abs(y) == kInfinity) {
        if (x == 1.0) return 1.0;  // (-1)^(+-inf)
        result = (x < 1.0) == (y < 0) ? kInfinity : 0.0;
    } else {
        result = PositivePow(x, y);
    }
    return negate ? -result : result;
}

double Cos(double x) {
    const double ax = Abs(x);
    if (!(ax < kInfinity)) return x - x;  // NaN for NaN and infinities
    if (ax < 0x1p-27) return 1.0;         // 1 - x^2/2 rounds to 1
    const Reduced reduced = ax < kLargeArgument ? ReduceModerate(ax) : ReduceLarge(ax);
    switch (reduced.quadrant) {
        case 0: return CosOrSinOfReduced(reduced.r, false);
        case 1: return -CosOrSinOfReduced(reduced.r, true);
        case 2: return -CosOrSinOfReduced(reduced.r, false);
        default: return CosOrSinOfReduced(reduced.r, true);
    }
}

double Acos(double x) {
    if (x != x) return x;
    const double ax = Abs(x);
    if (ax > 1.0) return kNaN;
    if (ax <= 0.5) {
        const Pair v = Add({kPiOver2Hi, kPiOver2Lo}, Negated(Asin({x, 0.0}, TwoProduct(x, x))));
        return v.hi + v.lo;
    }
    // acos |x| = 2 asin s with s = sqrt((1 - |x|)/2); z = s^2 is exact, and
    // s gets its low part from the remainder z - s.hi^2.
    const double z = (1.0 - ax) * 0.5;
    Pair s = {std::sqrt(z), 0.0};
    if (s.hi > 0) {
        const Pair square = TwoProduct(s.hi, s.hi);
        s.lo = ((z - square.hi) - square.lo) / (2.0 * s.hi);
    }
    const Pair a = Asin(s, {z, 0.0});
    if (x > 0) return 2.0 * (a.hi + a.lo);
    const Pair v = Add({kPiHi, kPiLo}, {-2.0 * a.hi, -2.0 * a.lo});
    return v.hi + v.lo;
}

}  // namespace portable
