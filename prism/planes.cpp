// Storage of the process-wide working images (planes.h).
#include "planes.h"

std::uint8_t gRawPlane[kRawPlaneBytes];
std::uint8_t gRgbPlane[kRgbPlaneBytes];
std::uint8_t gScratchRgb[kRgbPlaneBytes];
std::uint8_t gEdgeMap[kRgbPlaneBytes];
int gWorkWidth = 0;
int gWorkHeight = 0;
