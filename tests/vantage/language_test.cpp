// Language section of the strings file: code page first, then the low byte
// of the language identifier.
#include "language.h"

#include <gtest/gtest.h>

#include <string>

TEST(LanguageSection, ByCodePageThenLanguage) {
    struct Case {
        unsigned codePage;
        unsigned languageId;
        const char* section;
    };
    const Case cases[] = {
        {932, 0x0411, "JAPAN"},
        {936, 0x0407, "GB"},  // the code page wins over a German system language
        {936, 0x0409, "GB"},
        {949, 0x0412, "KOREAN"},
        {950, 0x0404, "BIG5"},
        {1252, 0x0807, "GERMAN"},  // Swiss German: low byte 7
        {1252, 0x0407, "GERMAN"},
        {1252, 0x0C0A, "SPANISH"},
        {1252, 0x040C, "FRENCH"},
        {1252, 0x0410, "ITALIAN"},
        {1252, 0x0409, "ENG"},
        {1252, 0x0411, "ENG"},  // Japanese language without its code page
        {1250, 0x0415, "ENG"},
        {0, 0, "ENG"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(LanguageSection(c.codePage, c.languageId)), c.section)
            << "code page " << c.codePage << ", language 0x" << std::hex << c.languageId;
}
