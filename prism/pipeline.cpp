// Pipeline driver: loads the frame, runs the before string, the letter string
// (dispatching letters A-N, case-insensitive) and the after string, then
// applies the flip flags. Every stage works in place on the planes.
#include "pipeline.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "letter_params.h"
#include "planes.h"
#include "rawstages/colour_enhance.h"
#include "rawstages/colour_matrix.h"
#include "rawstages/stage_sequencers.h"
#include "rows.h"
#include "stage_params.h"
#include "stages/demosaic.h"
#include "stages/digital_expand.h"
#include "stages/rgb_auto_white_balance.h"
#include "stages/smart_blur.h"
#include "stages/tone_stages.h"
#include "stages/unsharp_mask.h"

namespace {

constexpr int kFlipVertical = 1;
constexpr int kMirror = 2;

// A second expansion would overrun the RGB plane: it is refused and the
// plane and working size stay as they are.
bool ExpansionFits(int width, int height) {
    return 2 * width <= kMaxRgbWidth && 4LL * width * height <= kMaxRgbPixels;
}

void Mirror(std::uint8_t* rgb, int width, int height) {
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rgb + std::size_t(y) * width * 3;
        for (int j = 0; j < width / 2; ++j) {
            std::uint8_t* a = row + 3 * j;
            std::uint8_t* b = row + 3 * (width - 1 - j);
            for (int c = 0; c < 3; ++c) {
                const std::uint8_t t = a[c];
                a[c] = b[c];
                b[c] = t;
            }
        }
    }
}

// The first letter that selects a stage is C, and at this size it writes
// every pixel. The before-stages between never touch the RGB plane.
bool FirstStageFillsRgbPlane(const char* letters, int width, int height) {
    for (const char* c = letters; *c; ++c) {
        const int letter = std::toupper(static_cast<unsigned char>(*c));
        if (letter < 'A' || letter > 'N' || letter == 'G') continue;
        return letter == 'C' && DemosaicCovers(width, height);
    }
    return false;
}

// A demosaicing after an expansion reads the raw plane at the doubled size:
// beyond the frame it finds zeros, as in a fresh process, never what an
// earlier conversion left there.
void ClearRawBeyondFrame(std::size_t frameBytes) {
    const std::size_t used = std::min(std::size_t(gWorkWidth) * gWorkHeight, kRawPlaneBytes);
    if (used > frameBytes) std::memset(gRawPlane + frameBytes, 0, used - frameBytes);
}

}  // namespace

bool FrameFitsPlanes(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxRawWidth &&
           static_cast<long long>(width) * height <= kMaxRawPixels;
}

void ResetPlanes(int width, int height) {
    gWorkWidth = width;
    gWorkHeight = height;
    std::memset(gRawPlane, 0, std::size_t(width) * height);
    std::memset(gRgbPlane, 0, std::size_t(width) * height * 3);
}

void LoadFrame(const std::uint8_t* frame, int width, int height) {
    gWorkWidth = width;
    gWorkHeight = height;
    for (int i = 0; i < height; ++i)
        std::memcpy(gRawPlane + std::size_t(height - 1 - i) * width, frame + std::size_t(i) * width,
                    width);
}

void Dispatch(char step, const PipelineSettings& s) {
    const CLetterParams& letter = s.letter;
    std::uint8_t* rgb = gRgbPlane;
    const int w = gWorkWidth;
    const int h = gWorkHeight;
    switch (std::toupper(static_cast<unsigned char>(step))) {
        case 'A': UnsharpMask(letter, rgb, w, h); break;
        case 'B':
            SmartBlur(rgb, w, h, kSmartBlurExponent, kSmartBlurErosionPasses, true, letter.Blur);
            break;
        case 'C': Demosaic(letter, gRawPlane, rgb, w, h); break;
        case 'D':
            SharpenBlur(rgb, w, h, kSmartBlurExponent, kSmartBlurErosionPasses, true,
                        kSmartBlurCentreWeight, true, letter.SharpenBlurGain,
                        letter.SharpenBlurThreshold);
            break;
        case 'E': LetterGamma(rgb, w, h, letter.Gamma); break;
        case 'F': LetterSGamma(rgb, w, h, letter.Gamma2, letter.GammaSCurve, letter.GammaLeft); break;
        case 'H': ColourMatrix(rgb, w, h, letter.CM); break;
        case 'I': ColourEnhanceSaturation(rgb, w, h, letter.CE_Saturation); break;
        case 'J': LetterShift(letter, rgb, w, h); break;
        case 'K': RgbAutoWhiteBalance(letter, rgb, w, h); break;
        case 'L': RgbWeight(letter, rgb, w, h); break;
        case 'M': TwoLevelUnsharpMask(letter, rgb, w, h); break;
        case 'N':
            if (s.softwareEnlarge != 0 && ExpansionFits(w, h)) {
                DigitalExpand(rgb, w, h);
                gWorkWidth = 2 * w;
                gWorkHeight = 2 * h;
                ClearRawBeyondFrame(std::size_t(w) * h);
            }
            break;
        default: break;  // G, digits, blanks and punctuation select nothing
    }
}

void RunPipeline(const PipelineSettings& s, const std::uint8_t* frame, int width, int height,
                 int flipFlags) {
    // Reset's clearing is skipped where it is overwritten before anything
    // reads it: the frame fills the raw plane, and a demosaicing step that
    // comes first in the letter string fills the RGB plane.
    if (FirstStageFillsRgbPlane(s.letter.OPVEXA, width, height)) {
        gWorkWidth = width;
        gWorkHeight = height;
    } else {
        ResetPlanes(width, height);
    }
    LoadFrame(frame, width, height);
    RunBeforeStages(s.stage, gRawPlane, gWorkWidth, gWorkHeight);
    // The length is measured again after every step.
    for (std::size_t i = 0; i < std::strlen(s.letter.OPVEXA); ++i) Dispatch(s.letter.OPVEXA[i], s);
    RunAfterStages(s.stage, gRgbPlane, gWorkWidth, gWorkHeight);
    ApplyFlipFlags(flipFlags);
}

void ApplyFlipFlags(int flipFlags) {
    if (flipFlags & kFlipVertical) FlipRows(gRgbPlane, std::size_t(gWorkWidth) * 3, gWorkHeight);
    if (flipFlags & kMirror) Mirror(gRgbPlane, gWorkWidth, gWorkHeight);
}
