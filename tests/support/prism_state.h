// Puts Prism's process-wide state back to a fresh start-up, so that tests
// that call the exports do not see each other's settings, set index or flag.
#pragma once

#include <string>

#include "library.h"

inline void RestartPrism(const std::string& folder) {
    PrismShutDown();
    gPrism = PrismLibrary{};
    PrismStartUp(folder.c_str());
}
