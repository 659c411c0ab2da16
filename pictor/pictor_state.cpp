// Pictor's process-wide state.
#include "pictor_state.h"

PictorState gPictor;

std::string ProgramFile(const char* name) { return gPictor.programFolder + "\\" + name; }
