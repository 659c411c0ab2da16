// Development of a raw frame through Prism for Vantage's own use: BufToBmp
// writes the picture into the temporary development file (the system's
// temporary folder + "\__VEXA__"), whose pixels (from byte 54) are read
// back and the file deleted.
#pragma once

#include <cstdint>
#include <vector>

// width x height x 3 bytes of bottom-up BGR pixels; false when Prism wrote
// no file of that size.
bool DevelopToPixels(const std::uint8_t* raw, int width, int height, int flip, int set,
                     std::vector<std::uint8_t>& pixels);
