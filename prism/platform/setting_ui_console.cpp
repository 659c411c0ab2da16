// Native build: no dialogs; the message goes to standard error.
#include <cstdio>

#include "../setting_ui.h"

void ShowNoSetMessage(void*) { std::fprintf(stderr, "%s\n", kNoSetMessage); }
int RunTuningDialog(void*) { return 0; }
void RunQualityDialog() {}
