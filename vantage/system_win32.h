// What Vantage asks of Windows outside its windows: the system's code page
// and language (for the strings file), the camera driver's status value and
// the temporary folder; the folder probes are in windows_folders.h.
#pragma once

#include <windows.h>

#include "settings.h"
#include "windows_folders.h"
#include "strings_file.h"

LocaleIds SystemLocale();

// The 32-bit value "Status" under HKEY_LOCAL_MACHINE
// "SYSTEM\CurrentControlSet\Services\GENERIC\Parameters"; 0 when missing.
DWORD ReadDeviceStatus();

// The system's temporary folder without its trailing backslash; empty when
// the system gives none.
std::string SystemTempFolder();
