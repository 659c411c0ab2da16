// The files of the tuning dialog's Import and Export: the system's open and
// save dialogs for settings files, and the temporary file "__temp__.ini" that
// holds a record's values meanwhile.
#pragma once

#include <string>

#include <windows.h>

enum class SettingsFileUse { Import, Export };

// The chosen file's full path; empty when the user cancelled.
std::string ChooseSettingsFile(HWND owner, SettingsFileUse use);
// The system's temporary folder and "__temp__.ini".
std::string TemporarySettingsPath();
// Whether the file can be opened for writing (it is created when missing).
bool SettingsFileWritable(const std::string& path);
