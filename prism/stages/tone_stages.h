// Tone stages of the letter string: E (gamma), F (S-gamma), J (shift), L (RGB weight).
#pragma once

#include <cstdint>

class CLetterParams;

void LetterGamma(std::uint8_t* rgb, int width, int height, double g);
void LetterSGamma(std::uint8_t* rgb, int width, int height, double g, double s, double left);
void LetterShift(const CLetterParams& params, std::uint8_t* rgb, int width, int height);
void RgbWeight(const CLetterParams& params, std::uint8_t* rgb, int width, int height);
