// Development of a raw frame through Prism for Vantage's own use: BufToBmp
// writes the picture into the temporary development file (the system's
// temporary folder + "\__VEXA__"), which is read back and deleted.
//
// The worker and the user-interface thread (the enlarged view) both
// develop, and Prism keeps one conversion's state process-wide: a
// development holds a process-wide lock from the call to the deletion.
#pragma once

#include <cstdint>
#include <vector>

#include "camera/shown_picture.h"

// width x height x 3 bytes of bottom-up BGR pixels; false when Prism wrote
// no file of that size.
bool DevelopToPixels(const std::uint8_t* raw, int width, int height, int flip, int set,
                     std::vector<std::uint8_t>& pixels);
// The developed picture, when Prism reports success and its file loads;
// false (picture untouched) otherwise.
bool DevelopToPicture(const std::uint8_t* raw, int width, int height, int flip, int set, ShownPicture& picture);
