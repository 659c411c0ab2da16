// Pictor's profile values: JPEG quality and the data source's product name,
// with their defaults when the files or keys are missing.
#include "pictor_settings.h"

#include <gtest/gtest.h>

#include "test_files.h"

TEST(PictorSettings, ValuesAndDefaults) {
    TempFolder folder;
    const std::string ini = folder.File("TWain.ini");
    const std::string camSet = folder.File("CamSet.inf");
    EXPECT_EQ(ReadJpegQuality(ini), 85);
    EXPECT_EQ(ReadSourceProductName(camSet), "Twain for VEXA");
    WriteFileText(ini, "[IP]\r\nJPEG=42\r\n");
    WriteFileText(camSet, "[TWAIN]\r\nProductName=Other Source\r\n");
    EXPECT_EQ(ReadJpegQuality(ini), 42);
    EXPECT_EQ(ReadSourceProductName(camSet), "Other Source");
    WriteFileText(camSet, "[TWAIN]\r\nProductName=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(ReadSourceProductName(camSet), std::string(259, 'x'));
}
