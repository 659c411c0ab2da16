// Portable Pow, Cos and Acos: their error against the host's long double
// functions (a 64-bit significand, about 2^11 times finer than a double's
// ulp), how often and how far they differ from the host's double functions,
// values that must come out exactly, special values, and correctly rounded
// values that the C library itself misses (worked out at 300 bits).
#include "portable_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// glibc's long double functions are within an ulp or two of their 64-bit
// significand, so against them the error is measured to 2^-9 ulp; its double
// functions are within an ulp of the true value. Other C libraries promise
// neither (mingw-w64's cos of large arguments and acosl near 1 are far off),
// so there the comparisons are only printed.
constexpr double kErrorBound = 0.5 + 1.0 / 64;

std::int64_t Ordered(double x) {
    std::int64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
}

// Doubles between a and b; NaN against NaN counts as equal.
std::int64_t UlpsApart(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return 0;
    if (std::isnan(a) || std::isnan(b)) return std::numeric_limits<std::int64_t>::max();
    const std::int64_t d = Ordered(a) - Ordered(b);
    return d < 0 ? -d : d;
}

// |value - reference| in ulps of value (the step to its neighbour away from
// 0). An infinity is right when the reference rounds to it.
double UlpError(double value, long double reference) {
    if (std::isnan(value)) return std::isnan(reference) ? 0.0 : kInf;
    if (std::isinf(value)) {
        const long double max = std::numeric_limits<double>::max();
        const long double halfStep = std::ldexp(1.0L, 970);
        const bool beyond = std::fabs(reference) >= max + halfStep;
        return beyond && (value > 0) == (reference > 0) ? 0.0 : kInf;
    }
    const double step = std::nextafter(std::fabs(value), kInf) - std::fabs(value);
    return static_cast<double>(std::fabs(static_cast<long double>(value) - reference) / step);
}

struct Tally {
    const char* name;
    long count = 0;
    long differing = 0;
    std::int64_t farthest = 0;  // from the host's double function, in ulps
    double worst = 0;           // error against the long double reference, in ulps
    double worstArgument = 0;

    void Add(double argument, double value, double host, long double reference) {
        ++count;
        const std::int64_t apart = UlpsApart(value, host);
        if (apart != 0) ++differing;
        if (apart > farthest) farthest = apart;
        const double error = UlpError(value, reference);
        if (error > worst) {
            worst = error;
            worstArgument = argument;
        }
    }

    void Check() const {
        std::printf("[ portable ] %s: %ld values, largest error %.7f ulp (at %a), %ld differ from "
                    "the C library, by at most %lld ulp\n",
                    name, count, worst, worstArgument, differing, static_cast<long long>(farthest));
#ifdef __GLIBC__
        EXPECT_LE(worst, kErrorBound) << name << " at " << worstArgument;
        EXPECT_LE(farthest, 1) << name;
#else
        GTEST_SKIP() << "no accurate reference in this C library";
#endif
    }
};

void AddPow(Tally& t, double x, double y) {
    t.Add(x, portable::Pow(x, y), std::pow(x, y),
          std::pow(static_cast<long double>(x), static_cast<long double>(y)));
}

void AddCos(Tally& t, double x) {
    t.Add(x, portable::Cos(x), std::cos(x), std::cos(static_cast<long double>(x)));
}

void AddAcos(Tally& t, double x) {
    t.Add(x, portable::Acos(x), std::acos(x), std::acos(static_cast<long double>(x)));
}

// A double with random bits: every exponent equally likely.
double RandomBits(std::mt19937_64& rng) {
    const std::uint64_t bits = rng() & 0x7FEFFFFFFFFFFFFFull;  // finite, positive
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

TEST(PortableMath, PowAgainstTheCLibrary) {
    Tally t{"Pow"};
    // The curves: bases 0..255 with exponents g and 1 - g.
    for (int k = 1; k <= 1000; ++k) {
        const double g = k * 0.005;
        for (int i = 0; i < 256; ++i) {
            AddPow(t, i, g);
            AddPow(t, i, 1.0 - g);
        }
    }
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> base(0.0, 256.0), exponent(-8.0, 8.0);
    std::uniform_real_distribution<double> nearOne(0.5, 2.0), large(-900.0, 900.0);
    for (int n = 0; n < 200000; ++n) {
        AddPow(t, base(rng), exponent(rng));
        AddPow(t, nearOne(rng), large(rng));  // results down to subnormals and up to 10^270
        AddPow(t, RandomBits(rng), exponent(rng) / 4);
    }
    t.Check();
}

TEST(PortableMath, CosAgainstTheCLibrary) {
    Tally t{"Cos"};
    for (int k = -200000; k <= 200000; ++k) AddCos(t, k * 5e-5);  // -10 .. 10
    // The doubles nearest to multiples of pi/2 and their neighbours, where
    // the reduction cancels most.
    for (int k = 1; k <= 20000; ++k) {
        const double x = k * 1.5707963267948966;
        for (double y : {std::nextafter(x, 0.0), x, std::nextafter(x, kInf)}) AddCos(t, y);
    }
    std::mt19937_64 rng(12);
    std::uniform_real_distribution<double> moderate(-2e6, 2e6);
    for (int n = 0; n < 150000; ++n) {
        AddCos(t, moderate(rng));
        AddCos(t, RandomBits(rng));  // mostly far beyond 2^21
    }
    t.Check();
}

TEST(PortableMath, AcosAgainstTheCLibrary) {
    Tally t{"Acos"};
    for (int k = -200000; k <= 200000; ++k) AddAcos(t, k * 5e-6);  // -1 .. 1
    std::mt19937_64 rng(13);
    std::uniform_real_distribution<double> unit(-1.0, 1.0), fraction(0.0, 1.0);
    for (int n = 0; n < 200000; ++n) {
        AddAcos(t, unit(rng));
        const double nearEnd = 1.0 - std::ldexp(fraction(rng), -static_cast<int>(rng() % 52));
        AddAcos(t, n % 2 ? nearEnd : -nearEnd);
    }
    t.Check();
}

TEST(PortableMath, ExactResults) {
    // Integer powers that fit in 53 bits, and their square roots.
    for (int i = 0; i < 256; ++i) {
        std::uint64_t power = 1;
        for (int k = 0; k <= 40 && power < (std::uint64_t(1) << 53); ++k, power *= i) {
            ASSERT_EQ(portable::Pow(i, k), static_cast<double>(power)) << i << "^" << k;
            if (power < (std::uint64_t(1) << 26)) {
                const double square = static_cast<double>(power * power);
                ASSERT_EQ(portable::Pow(square, 0.5), static_cast<double>(power)) << square;
            }
            if (i < 2) break;
        }
    }
    for (int n = -1074; n <= 1023; ++n) {
        ASSERT_EQ(portable::Pow(2.0, n), std::ldexp(1.0, n)) << n;
        ASSERT_EQ(portable::Pow(0.5, -n), std::ldexp(1.0, n)) << n;
    }
    std::mt19937_64 rng(14);
    for (int n = 0; n < 100000; ++n) {
        const double x = RandomBits(rng);
        ASSERT_EQ(portable::Pow(x, 1.0), x) << x;
        ASSERT_EQ(portable::Pow(x, 0.0), 1.0) << x;
    }
    struct Case { double x, y, result; } cases[] = {
        {255, 0, 1}, {4, 0.5, 2}, {16, 0.25, 2}, {16, 0.75, 8}, {81, 0.25, 3}, {0.25, -0.5, 2},
        {1024, 0.1, 2}, {255, 1, 255}, {1, 12345.678, 1}, {0.5, 3, 0.125},
    };
    for (const Case& c : cases)
        EXPECT_EQ(portable::Pow(c.x, c.y), c.result) << c.x << "^" << c.y;
    EXPECT_EQ(portable::Cos(0.0), 1.0);
    EXPECT_EQ(portable::Cos(-0.0), 1.0);
    EXPECT_EQ(portable::Cos(1e-300), 1.0);
    EXPECT_EQ(portable::Acos(1.0), 0.0);
    EXPECT_EQ(portable::Acos(-1.0), 3.141592653589793);
    EXPECT_EQ(portable::Acos(0.0), 1.5707963267948966);
    EXPECT_EQ(portable::Acos(-0.0), 1.5707963267948966);
}

// Annex F of C99: what the C libraries also return.
TEST(PortableMath, SpecialValues) {
    struct PowCase { double x, y, result; } pows[] = {
        {kNan, 0, 1},       {kNan, -0.0, 1},    {1, kNan, 1},         {1, -kInf, 1},
        {kNan, 1, kNan},    {2, kNan, kNan},    {-8, 1.0 / 3, kNan},  {-2, 0.5, kNan},
        {-2, 3, -8},        {-2, 2, 4},         {-2, -1, -0.5},       {-3, 1e300, kInf},
        {0, -1, kInf},      {-0.0, -1, -kInf},  {-0.0, -2, kInf},     {-0.0, -0.5, kInf},
        {0, 2, 0},          {-0.0, 3, -0.0},    {-0.0, 0.5, 0},       {kInf, -1, 0},
        {kInf, 0.5, kInf},  {-kInf, 3, -kInf},  {-kInf, 2, kInf},     {-kInf, -3, -0.0},
        {-kInf, 0.5, kInf}, {-kInf, -0.5, 0},   {0.5, kInf, 0},       {0.5, -kInf, kInf},
        {2, kInf, kInf},    {2, -kInf, 0},      {-1, kInf, 1},        {-1, -kInf, 1},
        {-0.5, kInf, 0},    {2, 1024, kInf},    {2, -1075, 0},        {10, 308.5, kInf},
        {0.1, 400, 0},      {1e-300, -2, kInf}, {std::ldexp(1, -1074), 1, std::ldexp(1, -1074)},
    };
    for (const PowCase& c : pows) {
        const double v = portable::Pow(c.x, c.y);
        if (std::isnan(c.result)) {
            EXPECT_TRUE(std::isnan(v)) << c.x << "^" << c.y << " gave " << v;
        } else {
            EXPECT_EQ(v, c.result) << c.x << "^" << c.y;
            EXPECT_EQ(std::signbit(v), std::signbit(c.result)) << c.x << "^" << c.y << " sign";
        }
    }
    for (double x : {kInf, -kInf, kNan}) EXPECT_TRUE(std::isnan(portable::Cos(x))) << x;
    for (double x : {std::nextafter(1.0, 2.0), -1.5, kInf, -kInf, kNan})
        EXPECT_TRUE(std::isnan(portable::Acos(x))) << x;
}

// Correctly rounded results (from 300-bit arithmetic) where glibc's are one
// ulp off: the values do not come from the host's library, and every build
// gives these bits.
TEST(PortableMath, CorrectlyRoundedWhereTheCLibraryIsNot) {
    EXPECT_EQ(portable::Pow(0x1.288b656ae845ap+6, 0x1.576c369fabf34p+0), 0x1.4294258ef34acp+8);
    EXPECT_EQ(portable::Pow(63, 0x1.0a0e16305133cp+1), 0x1.577c3aa4fc6f9p+12);
    EXPECT_EQ(portable::Pow(4, 0x1.2bec1ed82f3b4p+1), 0x1.9bf05d7b5b20cp+4);
    EXPECT_EQ(portable::Cos(-0x1.68b4d3d513b9fp+2), 0x1.987a100afda83p-1);
    EXPECT_EQ(portable::Cos(0x1.e680f74a72e54p+2), 0x1.ff5d820eae95dp-3);
    EXPECT_EQ(portable::Acos(0x1.e0cdcdfd713bcp-1), 0x1.674d6afac81e3p-2);
    EXPECT_EQ(portable::Acos(-0x1.ce67866ea0d75p-1), 0x1.5951ce2bc460fp+1);
    EXPECT_EQ(portable::Acos(0x1.ff87fb2d4d58fp-1), 0x1.5e98c1f20a577p-5);
}

}  // namespace
