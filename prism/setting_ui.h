// What Setting shows. The Windows build shows message boxes and dialogs; the
// native build has no dialogs and writes the message to standard error.
#pragma once

constexpr const char* kNoSetMessage = "Sensor cannot decided. Please capture some picture first.";
constexpr const char* kNoSetCaption = "Image Process";

void ShowNoSetMessage(void* ownerWindow);
// Runs the tuning dialog for the current set; 1 when closed with OK.
int RunTuningDialog(void* ownerWindow);
// Runs the JPEG-quality dialog of the delegated mode.
void RunQualityDialog();
