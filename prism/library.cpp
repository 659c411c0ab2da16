// Start-up and shut-down of Prism: the settings sets and the optional converter.
#include "library.h"

#include <string>

#include "platform/platform.h"

// The load hook (an ELF constructor, or DllMain after the runtime's own
// initialisers) fills this object; it must be constructed before any hook
// runs, whatever the link order of the units, so its initialiser goes first.
PrismLibrary gPrism PRISM_INIT_FIRST;

const char* const kSetFiles[kSetCount] = {"TWain01.ini", "TWain02.ini", "TWain03.ini"};

void PrismStartUp(const char* folder) {
    // An unknown folder: nothing is read or loaded from anywhere else (the
    // current directory least of all); built-in mode with the defaults.
    if (!folder || !folder[0]) return;
    gPrism.quality.Bind(folder, kQualityFile);
    for (int set = 0; set < kSetCount; ++set) {
        CStageParams& stage = gPrism.stageParams[set];
        stage.Bind(folder, kSetFiles[set]);
        stage.SetDefaults();
        if (stage.Path()[0]) stage.Load(stage.Path());
        CLetterParams& letter = gPrism.letterParams[set];
        letter.Bind(folder, kSetFiles[set]);
        letter.SetDefaults();
        if (letter.Path()[0]) letter.Load(letter.Path());
    }
    const std::string converter = std::string(folder) + platform::kPathSeparator + kConverterFile;
    gPrism.converterModule = platform::OpenModule(converter.c_str());
    if (gPrism.converterModule)
        gPrism.rawToBmp = reinterpret_cast<RawToBmpEntry>(
            platform::FindEntry(gPrism.converterModule, "RawToBmp"));
}

void PrismShutDown(bool processEnds) {
    // When the whole process ends the converter may already be gone; it goes
    // with the process.
    if (gPrism.converterModule && !processEnds) {
        platform::CloseModule(gPrism.converterModule);
        gPrism.converterModule = nullptr;
        gPrism.rawToBmp = nullptr;  // the entry died with its module
    }
}
