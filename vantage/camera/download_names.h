// Names of downloaded files: "DSC%05ld.jpg" for a still and "DSC%05ld.avi"
// for a clip in the picture folder, numbered from `Next`. A name that is
// taken (a file of that name can be opened for reading) is resolved by the
// download's overwrite mode: ask the user (at the start), keep existing files
// and try the next number, replace them, or cancelled. The first answer
// holds for the rest of the download: No keeps, Yes replaces, Cancel ends.
// Plain logic: whether a file exists and the question come from the caller.
#pragma once

#include <string>

enum OverwriteMode { kOverwriteAsk = -1, kOverwriteKeep = 0, kOverwriteReplace = 1, kOverwriteCancelled = 2 };
enum class ReplaceAnswer { kYes, kNo, kCancel };

// What the numbering needs from the system and the user.
class CDownloadTarget {
public:
    virtual ~CDownloadTarget() = default;
    // A file of that name can be opened for reading.
    virtual bool Exists(const std::string& path) = 0;
    // The question whether to replace that file.
    virtual ReplaceAnswer AskReplace(const std::string& path) = 0;
};

// folder + "\DSC%05ld.jpg" (a still) or ".avi" (a clip).
std::string DownloadName(const std::string& folder, long number, bool clip);

class CDownloadNames {
public:
    explicit CDownloadNames(CDownloadTarget& target) : target_(target) {}

    // The number and name for the next file from `next` on; false when the
    // user cancelled now or earlier, or no number is left below the largest
    // that keeps `Next` (number + 1) within an int.
    bool Choose(const std::string& folder, long next, bool clip, long& number, std::string& path);
    OverwriteMode Mode() const { return mode_; }

private:
    CDownloadTarget& target_;
    OverwriteMode mode_ = kOverwriteAsk;
};
