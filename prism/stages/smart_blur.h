// Edge-adaptive blur stages: letter B (SmartBlur) and letter D (SharpenBlur).
// SmartBlur also leaves the edge weight map (gEdgeMap) that letter M reads.
#pragma once

#include <cstdint>

void SmartBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
               int centreWeight);
void SharpenBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
                 int centreWeight, bool sharpen, int gain, int threshold);
