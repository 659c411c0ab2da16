// Empty slot: filled by the stage family's own work.
#include "tone_stages.h"
#include "../letter_params.h"

void LetterGamma(std::uint8_t* rgb, int width, int height, double g) { }
void LetterSGamma(std::uint8_t* rgb, int width, int height, double g, double s, double left) { }
void LetterShift(const CLetterParams& params, std::uint8_t* rgb, int width, int height) { }
void RgbWeight(const CLetterParams& params, std::uint8_t* rgb, int width, int height) { }
