// The development pipeline: raw frame -> raw plane -> before-stages -> letter
// string -> after-stages -> flips, all on the process-wide planes (planes.h).
#pragma once

#include <cstdint>

class CStageParams;
class CLetterParams;

struct PipelineSettings {
    const CStageParams& stage;
    const CLetterParams& letter;
    int softwareEnlarge;  // letter N runs only when nonzero
};

// True when a frame of that size fits the raw plane and the stages' row buffers.
bool FrameFitsPlanes(int width, int height);

// Sets the working size and clears both planes over it.
void ResetPlanes(int width, int height);

// Loads the frame with its rows reversed (the caller's first row becomes the
// last row of the raw plane). The frame must fit (FrameFitsPlanes).
void LoadFrame(const std::uint8_t* frame, int width, int height);

// Runs one letter-string step on the planes at the working size.
void Dispatch(char step, const PipelineSettings& settings);

// Flip flags: bit 0 flips the RGB plane vertically, bit 1 mirrors every row;
// other bits are ignored. Works on the plane at the working size.
void ApplyFlipFlags(int flipFlags);

// The whole development; afterwards the RGB plane holds the finished image
// at gWorkWidth x gWorkHeight. The frame must fit (FrameFitsPlanes).
void RunPipeline(const PipelineSettings& settings, const std::uint8_t* frame, int width,
                 int height, int flipFlags);
