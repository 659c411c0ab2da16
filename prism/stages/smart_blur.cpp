// Empty slot: filled by the stage family's own work.
#include "smart_blur.h"

void SmartBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply, int centreWeight) { }
void SharpenBlur(std::uint8_t* rgb, int width, int height, double g, int erosionPasses, bool apply, int centreWeight, bool sharpen, int gain, int threshold) { }
