// Vantage's settings in section "Setting" of TWain.ini: the switches read
// when the camera window starts, and the picture settings (folder, next file
// number, software enlarge) read at its set-up and written after a download
// or the options dialog. Paths are Windows paths whatever the build.
#pragma once

#include <string>

// Read when the camera window is initialised; never written.
struct CWindowSettings {
    int showThumbnailNumber = 1;
    int hideByOtherAP = 0;
    int enlarge = 0;  // offers the software-enlarge switch
};

CWindowSettings ReadWindowSettings(const std::string& iniPath);

// What the folder rule needs from the system.
class CFolderSystem {
public:
    virtual ~CFolderSystem() = default;
    // The user's documents folder, created when missing.
    virtual std::string DocumentsFolder() = 0;
    // Creates the folder; true when it exists as a folder afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
};

// The documents folder followed by "\My DSC".
std::string DefaultPictureFolder(CFolderSystem& folders);

// [Setting] Path (default: the default picture folder), created one level
// deep; a Path that cannot be created is replaced by the default folder, in
// the file too. Shared by the camera window and the acquisition program.
std::string ReadPictureFolder(const std::string& iniPath, CFolderSystem& folders);

class CPictureSettings {
public:
    // Path (default: the default picture folder), Next (1) and, only when
    // `enlarge` is non-zero, EnlargeOnOff (0; else taken as 0). A Path that
    // cannot be created is replaced by the default folder, in the file too.
    void Read(const std::string& iniPath, int enlarge, CFolderSystem& folders);
    // Path, Next as "%d", and EnlargeOnOff as "1" or "0" when `enlarge` is non-zero.
    void Write(const std::string& iniPath, int enlarge) const;

    std::string path;
    int next = 1;
    int enlargeOnOff = 0;
};

// The number at the start of a text (sign and digits), 0 when there is none;
// how typed numbers are read.
int ParseNumber(const std::string& text);
