// Colour matrix: after "2" and letter H. matrix points to nine doubles, row by row.
#pragma once

#include <cstdint>

void ColourMatrix(std::uint8_t* rgb, int width, int height, const double* matrix);
