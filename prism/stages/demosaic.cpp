// Empty slot: filled by the stage family's own work.
#include "demosaic.h"
#include "../letter_params.h"

void FlipRawRows(std::uint8_t* raw, int width, int height) { }
void FlipRgbRows(std::uint8_t* rgb, int width, int height) { }
void DemosaicBilinear(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) { }
void DemosaicTvng(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) { }
void DemosaicBlur(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) { }
void DemosaicTvngLine(std::uint8_t* raw, std::uint8_t* rgb, int width, int height) { }
void Demosaic(const CLetterParams& params, std::uint8_t* raw, std::uint8_t* rgb, int width, int height) { }
