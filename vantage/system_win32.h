// What Vantage asks of Windows outside its windows: the documents folder and
// folder creation (for the picture folder rule), the system's code page and
// language (for the strings file), and the camera driver's status value.
#pragma once

#include <windows.h>

#include "settings.h"
#include "strings_file.h"

class CWindowsFolders : public CFolderSystem {
public:
    std::string DocumentsFolder() override;
    bool MakeFolder(const std::string& path) override;
};

LocaleIds SystemLocale();

// The 32-bit value "Status" under HKEY_LOCAL_MACHINE
// "SYSTEM\CurrentControlSet\Services\GENERIC\Parameters"; 0 when missing.
DWORD ReadDeviceStatus();

// The system's temporary folder without its trailing backslash; empty when
// the system gives none.
std::string SystemTempFolder();
// True when a file of that name opens for reading without sharing, or is
// held open by someone else (a sharing violation).
bool FileNameInUse(const std::string& path);
