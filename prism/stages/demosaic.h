// Demosaicing (letter C): raw plane -> RGB plane by one of four methods.
#pragma once

#include <cstdint>

class CLetterParams;

void FlipRawRows(std::uint8_t* raw, int width, int height);
void FlipRgbRows(std::uint8_t* rgb, int width, int height);

void DemosaicBilinear(std::uint8_t* raw, std::uint8_t* rgb, int width, int height);
void DemosaicTvng(std::uint8_t* raw, std::uint8_t* rgb, int width, int height);
void DemosaicBlur(std::uint8_t* raw, std::uint8_t* rgb, int width, int height);
void DemosaicTvngLine(std::uint8_t* raw, std::uint8_t* rgb, int width, int height);

// True when a demosaicing step at this size writes every pixel of the RGB
// plane (outside the stage's range it writes nothing).
bool DemosaicCovers(int width, int height);

// Letter C: the method that params.Interpolation selects.
void Demosaic(const CLetterParams& params, std::uint8_t* raw, std::uint8_t* rgb, int width,
              int height);
