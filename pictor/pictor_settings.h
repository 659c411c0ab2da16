// What Pictor reads from profile files: the JPEG quality ([IP] JPEG of
// TWain.ini beside the program, default 85) and the product name of the
// data source to open ([TWAIN] ProductName of CamSet.inf in the Windows
// folder, default "Twain for VEXA", at most 259 characters). The picture
// folder is the camera window's rule (vantage/settings.h).
#pragma once

#include <string>

constexpr const char* kPictorSettingsFile = "TWain.ini";
constexpr const char* kCamSetFile = "CamSet.inf";
constexpr int kDefaultPictorJpegQuality = 85;
constexpr const char* kDefaultSourceName = "Twain for VEXA";

int ReadJpegQuality(const std::string& iniPath);
std::string ReadSourceProductName(const std::string& camSetPath);
