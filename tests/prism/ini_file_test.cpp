// Settings store: profile-file semantics and the records' Load and Save.
#include "ini_file.h"

#include <gtest/gtest.h>

#include "letter_params.h"
#include "stage_params.h"
#include "test_files.h"

TEST(IniFile, MissingFileKeepsDefaults) {
    TempFolder folder;
    CStageParams stage;
    CLetterParams letter;
    stage.Load(folder.File("TWain01.ini").c_str());
    letter.Load(folder.File("TWain01.ini").c_str());
    EXPECT_STREQ(letter.OPVEXA, "C");
    EXPECT_EQ(letter.Interpolation, 1);
    EXPECT_STREQ(stage.OPBefore, "123");
}
