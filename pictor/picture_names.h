// The automatic file names of acquired pictures: folder + "\PIC%05ld.jpg",
// the first number from 1 on whose name is not in use, so that gaps left by
// deleted files are filled first; numbers past 99999 take six digits.
// Plain logic: whether a name is in use comes from the caller.
#pragma once

#include <functional>
#include <string>

using NameInUseProbe = std::function<bool(const std::string& path)>;

// folder + "\PIC" + n as at least five digits + ".jpg".
std::string PictureFileName(const std::string& folder, long number);
// The first free name; empty when every number up to kMaxPictureNumber is
// taken (the search never runs without end).
std::string NextPictureName(const std::string& folder, const NameInUseProbe& inUse);

constexpr long kMaxPictureNumber = 999999;
