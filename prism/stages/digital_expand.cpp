// Empty slot: filled by the stage family's own work.
#include "digital_expand.h"

void DigitalExpand(std::uint8_t* rgb, int width, int height) { }
