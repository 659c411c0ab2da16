// The recent-file list of 8 entries, kept as the framework keeps it: values
// "File1" (newest) to "File8" under the user's key
// "Software\Local AppWizard-Generated Applications\Pictor\Recent File List".
#pragma once

#include <string>
#include <vector>

constexpr int kRecentFileCount = 8;

void AddRecentFile(const std::string& path);
std::vector<std::string> RecentFiles();
