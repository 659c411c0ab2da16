// The strings file: the user-interface texts in the language section of
// TWain.ini (section chosen at each lookup, see language.h), under decimal
// keys, values of up to 259 characters. A template text is looked up with
// the default "XXX", which means "leave the template's own text"; texts
// that Vantage shows by itself have built-in defaults.
#pragma once

#include <string>

struct LocaleIds {
    unsigned codePage;    // the system's ANSI code page
    unsigned languageId;  // the system's default language identifier
};

class CStringsFile {
public:
    using LocaleSource = LocaleIds (*)();
    static constexpr const char* kKeep = "XXX";

    void Bind(const std::string& iniPath, LocaleSource locale);

    // The key's value, or `fallback` when the key is missing.
    std::string Lookup(int key, const char* fallback) const;
    // For a template text: the value, or kKeep.
    std::string Text(int key) const { return Lookup(key, kKeep); }
    static bool Keeps(const std::string& value) { return value == kKeep; }
    // For a text Vantage shows by itself: the value, or the built-in text
    // ("Camera" for 11, "Open" for 27, the messages 36..42; empty for others).
    std::string Message(int key) const;

private:
    std::string iniPath_;
    LocaleSource locale_ = nullptr;
};
