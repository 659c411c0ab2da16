// The folder and file probes of the picture folder rule and the numbered
// names, on Windows: the documents folder, one-level folder creation, and
// whether a file name is taken. Shared by Vantage and Pictor.
#pragma once

#include <string>

#include "settings.h"

class CWindowsFolders : public CFolderSystem {
public:
    std::string DocumentsFolder() override;
    bool MakeFolder(const std::string& path) override;
};

// True when a file of that name opens for reading without sharing, or is
// held open by someone else (a sharing violation).
bool FileNameInUse(const std::string& path);
