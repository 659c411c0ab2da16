// Strings file lookups and the built-in texts.
#include "strings_file.h"

#include "language.h"
#include "platform/platform.h"
#include "string_keys.h"

namespace {

constexpr std::size_t kValueCapacity = 260;

struct BuiltInText {
    int key;
    const char* text;
};

constexpr BuiltInText kBuiltInTexts[] = {
    {kKeyCameraTitle, "Camera"},
    {kKeyOptionsPath, "Open"},
    {kKeyDownloadDone, "Download succeed."},
    {kKeyNoPicture, "No Picture."},
    {kKeyDownloadError, "Download Error"},
    {kKeyNoCamera, "No Camera."},
    {kKeyTransferError, "Transfer Error."},
    {kKeyDeleteQuestion, "All Pictures in Camera will be erased!\nAre you sure?"},
    {kKeyDeleteDone, "Remove Files OK."},
};

}  // namespace

void CStringsFile::Bind(const std::string& iniPath, LocaleSource locale) {
    iniPath_ = iniPath;
    locale_ = locale;
}

std::string CStringsFile::Lookup(int key, const char* fallback) const {
    const LocaleIds ids = locale_ ? locale_() : LocaleIds{0, 0};
    char value[kValueCapacity];
    platform::GetProfileText(LanguageSection(ids.codePage, ids.languageId), std::to_string(key).c_str(), fallback,
                             value, sizeof value, iniPath_.c_str());
    return value;
}

std::string CStringsFile::Message(int key) const {
    for (const BuiltInText& t : kBuiltInTexts)
        if (t.key == key) return Lookup(key, t.text);
    return Lookup(key, "");
}
