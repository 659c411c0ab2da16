// Download names and the overwrite modes.
#include "download_names.h"

#include <climits>
#include <cstdio>

#include "platform/platform.h"

namespace {

constexpr const char* kStillFormat = "%cDSC%05ld.jpg";  // separator, number
constexpr const char* kClipFormat = "%cDSC%05ld.avi";
// `Next` (the number after the last one used) is written back with "%d":
// it must stay within an int.
constexpr long kLastNumber = INT_MAX - 1;

}  // namespace

std::string DownloadName(const std::string& folder, long number, bool clip) {
    char name[40];
    std::snprintf(name, sizeof name, clip ? kClipFormat : kStillFormat, platform::kPathSeparator, number);
    return folder + name;
}

bool CDownloadNames::Choose(const std::string& folder, long next, bool clip, long& number, std::string& path) {
    for (long n = next; mode_ != kOverwriteCancelled && n <= kLastNumber; ++n) {
        path = DownloadName(folder, n, clip);
        bool take = !target_.Exists(path) || mode_ == kOverwriteReplace;
        if (!take && mode_ == kOverwriteAsk) {
            switch (target_.AskReplace(path)) {
            case ReplaceAnswer::kYes: mode_ = kOverwriteReplace; take = true; break;
            case ReplaceAnswer::kNo: mode_ = kOverwriteKeep; break;
            case ReplaceAnswer::kCancel: mode_ = kOverwriteCancelled; break;
            }
        }
        if (take) {
            number = n;
            return true;
        }
    }
    return false;
}
