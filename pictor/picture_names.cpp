// "PIC%05ld.jpg" names and the gap-filling search.
#include "picture_names.h"

#include <cstdio>

std::string PictureFileName(const std::string& folder, long number) {
    char name[32];
    std::snprintf(name, sizeof name, "\\PIC%05ld.jpg", number);
    return folder + name;
}

std::string NextPictureName(const std::string& folder, const NameInUseProbe& inUse) {
    for (long n = 1; n <= kMaxPictureNumber; ++n) {
        std::string name = PictureFileName(folder, n);
        if (!inUse(name)) return name;
    }
    return {};
}
