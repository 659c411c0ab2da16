// prism settings: shows, sets, exports and imports one setting set through
// the settings store's own Load and Save.
#pragma once

#include <string>
#include <vector>

// Arguments after the command name; throws Failure on bad input.
int SettingsCommand(const std::vector<std::string>& args);
