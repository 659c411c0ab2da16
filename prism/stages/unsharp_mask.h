// Unsharp mask stages: letter A (one kernel) and letter M (two kernels chosen
// per pixel by the edge weight map).
#pragma once

#include <cstdint>

class CLetterParams;

void UnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height);
void TwoLevelUnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height);
