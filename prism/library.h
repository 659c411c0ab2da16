// Prism's library-wide state and its start-up and shut-down.
//
// The state is process-wide and unguarded by design: one conversion, dialog
// or flag change at a time.
#pragma once

#include "letter_params.h"
#include "prism_api.h"
#include "stage_params.h"

constexpr int kSetCount = 3;
constexpr int kModeDelegated = 2;
constexpr int kModeBuiltIn = 3;

// The optional converter's entry: width, height, raw frame, output buffer of
// width x height x 3 bytes (blue, green, red, bottom row first). Nonzero on success.
using RawToBmpEntry = int(PRISM_CALL*)(int, int, const unsigned char*, unsigned char*);

#ifdef _WIN32
constexpr const char* kConverterFile = "Kiln.DLL";
#else
constexpr const char* kConverterFile = "libkiln.so";
#endif
constexpr const char* kQualityFile = "TWain.ini";
extern const char* const kSetFiles[kSetCount];  // TWain01.ini ... TWain03.ini

struct PrismLibrary {
    int currentSet = -1;  // set of the last conversion call
    int softwareEnlarge = 0;
    void* converterModule = nullptr;
    RawToBmpEntry rawToBmp = nullptr;
    CQualityIni quality;
    CStageParams stageParams[kSetCount];
    CLetterParams letterParams[kSetCount];

    int Mode() const { return rawToBmp ? kModeDelegated : kModeBuiltIn; }
};

// Constructed before every initialiser of default priority (the load hook
// among them).
#define PRISM_INIT_FIRST __attribute__((init_priority(101)))

extern PrismLibrary gPrism;

// Reads the settings files in folder and binds the converter found there. An
// empty folder (the library's own could not be found) reads and loads
// nothing: built-in mode with the defaults.
void PrismStartUp(const char* folder);
// Releases the converter, unless the process is ending (its libraries may
// already be gone then).
void PrismShutDown(bool processEnds = false);
