// Empty slot: filled by the stage family's own work.
#include "unsharp_mask.h"
#include "../letter_params.h"

void UnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) { }
void TwoLevelUnsharpMask(const CLetterParams& params, std::uint8_t* rgb, int width, int height) { }
