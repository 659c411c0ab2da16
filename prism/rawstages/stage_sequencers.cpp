// Stage sequencers: the before string (`OPBefore`) runs one raw-plane stage
// per digit "1".."6" before demosaicing, the after string (`OPAfter`) one
// RGB-plane stage per digit "1".."3" after the letter stages; other
// characters select nothing.
#include "stage_sequencers.h"

#include <cstring>

#include "../stage_params.h"
#include "auto_level.h"
#include "auto_white_balance.h"
#include "colour_enhance.h"
#include "colour_matrix.h"
#include "tone_curves.h"

namespace {

// Length of a step string, never reading past its buffer even when a record
// was filled without a terminator.
template <std::size_t N>
std::size_t StepCount(const char (&steps)[N]) {
    const void* end = std::memchr(steps, '\0', N);
    return end ? static_cast<const char*>(end) - steps : N;
}

}  // namespace

int RunBeforeStages(const CStageParams& params, std::uint8_t* raw, int width, int height) {
    // Each stage leaves its tables pending; the next measurement writes them
    // as it reads the rows, so "123" passes over the plane three times
    // instead of five (two statistics walks and the composed tables).
    DeferredPlane plane(raw, width, height);
    // The length is taken again after every step.
    for (std::size_t i = 0; i < StepCount(params.OPBefore); ++i) {
        switch (params.OPBefore[i]) {
            case '1': AutoWhiteBalance(params, plane); break;
            case '2': AutoLevel(params, plane); break;
            case '3': RawGamma(params, plane); break;
            case '4': SGammaAntiOver(params, plane); break;
            case '5': RawShift(params, plane); break;
            case '6': RawRgbGamma(params, plane); break;
            default: break;
        }
    }
    plane.Flush();
    return 1;
}

int RunAfterStages(const CStageParams& params, std::uint8_t* rgb, int width, int height) {
    for (std::size_t i = 0; i < StepCount(params.OPAfter); ++i) {
        switch (params.OPAfter[i]) {
            case '1':
                ColourEnhanceLinear(params, rgb, width, height);
                ColourEnhanceSaturation(rgb, width, height, params.CE_Saturation);
                break;
            case '2': ColourMatrix(rgb, width, height, params.CM); break;
            case '3': RgbGamma(params, rgb, width, height); break;
            default: break;
        }
    }
    return 1;
}
