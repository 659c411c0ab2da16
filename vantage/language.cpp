// Language section of the strings file.
#include "language.h"

namespace {

struct Choice {
    unsigned id;
    const char* section;
};

// Far-East code pages decide whatever the language.
constexpr Choice kByCodePage[] = {{932, "JAPAN"}, {936, "GB"}, {949, "KOREAN"}, {950, "BIG5"}};
// Primary languages: German, Spanish, French, Italian.
constexpr Choice kByLanguage[] = {{7, "GERMAN"}, {10, "SPANISH"}, {12, "FRENCH"}, {16, "ITALIAN"}};
constexpr const char* kEnglish = "ENG";

}  // namespace

const char* LanguageSection(unsigned codePage, unsigned languageId) {
    for (const Choice& c : kByCodePage)
        if (c.id == codePage) return c.section;
    for (const Choice& c : kByLanguage)
        if (c.id == (languageId & 0xFF)) return c.section;
    return kEnglish;
}
