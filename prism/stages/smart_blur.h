// Edge-adaptive blur stages: letter B (SmartBlur) and letter D (SharpenBlur).
// SmartBlur also leaves the edge weight map (gEdgeMap) that letter M reads.
#pragma once

#include <cstdint>

// The shape every letter gives SmartBlur: exponent 1.3 for the weight table,
// one erosion pass, and centre weight 256 where the letter fixes it (D, M).
constexpr double kSmartBlurExponent = 1.3;
constexpr int kSmartBlurErosionPasses = 1;
constexpr int kSmartBlurCentreWeight = 256;

// The weight table of exponent g: one map weight for each clipped edge
// strength 0..511, falling from 255 (flat) towards 0 (strong edge).
constexpr int kSmartBlurStrengths = 512;
void SmartBlurWeightTable(double g, std::uint8_t (&table)[kSmartBlurStrengths]);

void SmartBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
               int centreWeight);
void SharpenBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply,
                 int centreWeight, bool sharpen, int gain, int threshold);
