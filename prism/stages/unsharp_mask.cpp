// Unsharp mask stages (letters A and M). Each reads the RGB plane through its
// copy in gScratchRgb and writes every pixel back as a 3 x 3 weighted sum of
// the same channel around it, divided by the kernel's weight sum (truncated
// toward zero) and limited to 0..255. Missing neighbours at the border are
// taken from the opposite side. Letter M picks one of two kernels per pixel
// from the edge weight map (gEdgeMap) that SmartBlur builds first.
#include "unsharp_mask.h"

#include <algorithm>
#include <cstring>

#include "../letter_params.h"
#include "../planes.h"
#include "neighbourhood.h"
#include "smart_blur.h"

namespace {

// Weights row by row (row before, own row, row after; left, centre, right).
// Settings files may hold any integers, so sums are kept in 64 bits.
struct Kernel {
    long long weight[9];
    long long divisor;
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
                        k.weight[6] * down[left] + k.weight[7] * down[at] + k.weight[8] * down[right];
    return static_cast<std::uint8_t>(std::clamp(v / k.divisor, 0LL, 255LL));
}

// Applies to each pixel the kernel that choose(pixel offset) returns, all three
// channels with the same kernel.
template <class Choose>
void ApplyKernels(std::uint8_t* rgb, int width, int height, Choose choose) {
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::uint8_t* copy = gScratchRgb;
    std::memcpy(copy, rgb, rowBytes * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* up = copy + MirroredIndex(y - 1, height) * rowBytes;
        const std::uint8_t* mid = copy + y * rowBytes;
        const std::uint8_t* down = copy + MirroredIndex(y + 1, height) * rowBytes;
        std::uint8_t* out = rgb + y * rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = std::size_t(x) * 3;
            const std::size_t left = std::size_t(MirroredIndex(x - 1, width)) * 3;
            const std::size_t right = std::size_t(MirroredIndex(x + 1, width)) * 3;
            const Kernel& kernel = choose(y * rowBytes + at);
            for (int c = 0; c < 3; ++c)
                out[at + c] = Filtered(kernel, up + c, mid + c, down + c, left, at, right);
        }
    }
}

}  // namespace

void UnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    if (!RgbImageFits(width, height)) return;
    const Kernel kernel = MakeKernel(params.UnsharpMask);
    ApplyKernels(rgb, width, height, [&](std::size_t) -> const Kernel& { return kernel; });
}

void TwoLevelUnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) {
    if (!RgbImageFits(width, height)) return;
    SmartBlur(rgb, width, height, kSmartBlurExponent, kSmartBlurErosionPasses, false,
              kSmartBlurCentreWeight);
    const Kernel flat = MakeKernel(params.OneUM);
    const Kernel edge = MakeKernel(params.TwoUM);
    const int threshold = params.TwoLevelThreshold;
    const std::uint8_t* map = gEdgeMap;
    ApplyKernels(rgb, width, height, [&](std::size_t at) -> const Kernel& {
        const bool isFlat = map[at] >= threshold && map[at + 1] >= threshold && map[at + 2] >= threshold;
        return isFlat ? flat : edge;
    });
}
