// Unsharp mask stages (letters A and M). Each reads the RGB plane through its
// copy in gScratchRgb and writes every pixel back as a 3 x 3 weighted sum of
// the same channel around it, divided by the kernel's weight sum (truncated
// toward zero) and limited to 0..255. Missing neighbours at the border are
// taken from the opposite side. Letter M picks one of two kernels per pixel
// from the edge weight map (gEdgeMap) that SmartBlur builds first.
#include "unsharp_mask.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "../letter_params.h"
#include "../planes.h"
#include "neighbourhood.h"
#include "smart_blur.h"

namespace {

constexpr int kMaxKernels = 2;

// Weights row by row (row before, own row, row after; left, centre, right).
// Settings files may hold any integers, so the plain path sums in 64 bits.
struct Kernel {
    long long weight[9];
    long long divisor;  // the sum of the weights
};

Kernel MakeKernel(const int (&weights)[9]) {
    Kernel kernel{};
    for (int i = 0; i < 9; ++i) {
        kernel.weight[i] = weights[i];
        kernel.divisor += weights[i];
    }
    return kernel;
}

// One output byte. A kernel without a divisor keeps the value: it has no
// meaningful scale, and the plane is better left as it was.
inline std::uint8_t Filtered(const Kernel& k, const std::uint8_t* up, const std::uint8_t* mid,
                             const std::uint8_t* down, std::size_t left, std::size_t at,
                             std::size_t right) {
    if (k.divisor == 0) return mid[at];
    const long long v = k.weight[0] * up[left] + k.weight[1] * up[at] + k.weight[2] * up[right] +
                        k.weight[3] * mid[left] + k.weight[4] * mid[at] + k.weight[5] * mid[right] +
                        k.weight[6] * down[left] + k.weight[7] * down[at] +
                        k.weight[8] * down[right];
    return static_cast<std::uint8_t>(std::clamp(v / k.divisor, 0LL, 255LL));
}

// Plain path, for any kernel: pixel by pixel from the copy.
template <class Choose>
void ApplyKernelsPlain(const Kernel* kernels, const std::uint8_t* copy, std::uint8_t* rgb,
                       int width, int height, Choose choose) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* up = copy + MirroredIndex(y - 1, height) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + MirroredIndex(y + 1, height) * rowBytes;
        std::uint8_t* out = rgb + y * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(x) * 3;
            const std::size_t left = std::size_t(MirroredIndex(x - 1, width)) * 3;
            const std::size_t right = std::size_t(MirroredIndex(x + 1, width)) * 3;
            const Kernel& kernel = kernels[choose(y * rowBytes + at)];
            for (int c = 0; c < 3; ++c)
                out[at + c] = Filtered(kernel, up + c, mid + c, down + c, left, at, right);
        }
    }
}

// The usual kernels: 16-bit weights (so every sum fits 32 bits) and a divisor
// the byte divider takes (a zero divisor goes the plain way).
bool TakesFastPath(const Kernel& k) {
    return std::all_of(k.weight, k.weight + 9,
                       [](long long w) { return std::llabs(w) <= INT16_MAX; }) &&
           ByteDivider::Handles(std::llabs(k.divisor));
}

// The weighted sums of one row, every byte, as 16 x 16 -> 32-bit products;
// the interior loop is written for the compiler to vectorise.
void KernelSumsRow(const Kernel& k, const std::uint8_t* __restrict up,
                   const std::uint8_t* __restrict mid, const std::uint8_t* __restrict down,
                   int width, std::int32_t* __restrict sums) {
    std::int16_t w[9];
    for (int i = 0; i < 9; ++i) w[i] = static_cast<std::int16_t>(k.weight[i]);
    const auto product = [](std::int16_t weight, std::uint8_t value) {
        return std::int32_t(weight) * std::int16_t(value);
    };
    const auto sum = [&](std::size_t left, std::size_t at, std::size_t right) {
        return product(w[0], up[left]) + product(w[1], up[at]) + product(w[2], up[right]) +
               product(w[3], mid[left]) + product(w[4], mid[at]) + product(w[5], mid[right]) +
               product(w[6], down[left]) + product(w[7], down[at]) + product(w[8], down[right]);
    };
    for (const int x : {0, width - 1}) {
        const std::size_t at = std::size_t(x) * 3;
        const std::size_t left = std::size_t(MirroredIndex(x - 1, width)) * 3;
        const std::size_t right = std::size_t(MirroredIndex(x + 1, width)) * 3;
        for (int c = 0; c < 3; ++c) sums[at + c] = sum(left + c, at + c, right + c);
    }
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (std::size_t i = 3; i + 3 < rowBytes; ++i) sums[i] = sum(i - 3, i, i + 3);
}

// sum / divisor truncated toward zero and limited to 0..255: a quotient of
// negative sign gives 0, one of 256 or more gives 255, and only the rest
// needs the divider.
struct ByteDivision {
    bool negate;
    std::uint32_t limit;  // 256 * |divisor|
    ByteDivider divide;
};

ByteDivision MakeDivision(const Kernel& k) {
    const std::uint32_t divisor = static_cast<std::uint32_t>(std::llabs(k.divisor));
    return {k.divisor < 0, 256 * divisor, ByteDivider(divisor)};
}

inline std::uint8_t Quotient(std::int32_t sum, const ByteDivision& d) {
    const std::int32_t n = d.negate ? -sum : sum;
    if (n <= 0) return 0;
    if (std::uint32_t(n) >= d.limit) return 255;
    return static_cast<std::uint8_t>(d.divide(std::uint32_t(n)));
}

// Fast path: each kernel's sums row by row, then per pixel the chosen one.
template <class Choose>
void ApplyKernelsFast(const Kernel* kernels, int count, const std::uint8_t* copy, std::uint8_t* rgb,
                      int width, int height, Choose choose) {
    std::int32_t sums[kMaxKernels][kMaxRgbWidth * 3];
    ByteDivision division[kMaxKernels];
    for (int k = 0; k < count; ++k) division[k] = MakeDivision(kernels[k]);
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* up = copy + MirroredIndex(y - 1, height) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + MirroredIndex(y + 1, height) * rowBytes;
        for (int k = 0; k < count; ++k) KernelSumsRow(kernels[k], up, mid, down, width, sums[k]);
        std::uint8_t* out = rgb + y * rowBytes;
        for (std::size_t at = 0; at < rowBytes; at += 3) {
            const int k = choose(y * rowBytes + at);
            for (int c = 0; c < 3; ++c) out[at + c] = Quotient(sums[k][at + c], division[k]);
        }
    }
}

// Applies to each pixel the kernel whose index choose(pixel offset) returns,
// all three channels with the same kernel, reading from a copy of the plane.
template <class Choose>
void ApplyKernels(const Kernel* kernels, int count, std::uint8_t* rgb, int width, int height,
                  Choose choose) {
    std::uint8_t* copy = gScratchRgb;
    std::memcpy(copy, rgb, std::size_t(width) * 3 * height);
    if (std::all_of(kernels, kernels + count, TakesFastPath))
        ApplyKernelsFast(kernels, count, copy, rgb, width, height, choose);
    else
        ApplyKernelsPlain(kernels, copy, rgb, width, height, choose);
}

}  // namespace

void UnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    if (!RgbImageFits(width, height)) return;
    const Kernel kernel[1] = {MakeKernel(params.UnsharpMask)};
    ApplyKernels(kernel, 1, rgb, width, height, [](std::size_t) { return 0; });
}

// Flat pixels (all three map bytes at or above the threshold) take OneUM,
// edges TwoUM.
void TwoLevelUnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    if (!RgbImageFits(width, height)) return;
    SmartBlur(rgb, width, height, kSmartBlurExponent, kSmartBlurErosionPasses, false,
              kSmartBlurCentreWeight);
    const Kernel kernels[kMaxKernels] = {MakeKernel(params.OneUM), MakeKernel(params.TwoUM)};
    const int threshold = params.TwoLevelThreshold;
    const std::uint8_t* map = gEdgeMap;
    ApplyKernels(kernels, kMaxKernels, rgb, width, height, [=](std::size_t at) {
        const bool flat =
            map[at] >= threshold && map[at + 1] >= threshold && map[at + 2] >= threshold;
        return flat ? 0 : 1;
    });
}
