// prism settings [--set N] [--settings DIR] [SECTION.KEY=VALUE... | --export FILE | --import FILE]
//
// Without an action it lists every key of the set, grouped by section in the
// file's order, with the values that equal the default marked. Assignments
// are all checked before anything is written; export writes a whole settings
// file (or nothing); import takes a file's values, with the defaults for keys
// it lacks, into the set's own file.
#include "settings_command.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>

#include "cli_support.h"
#include "library.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSectionOrder[] = {"IP", "IPBefore", "IPAfter", "IPVEXA"};

// One key of a record and its field.
struct KeyField {
    const char* section;
    const char* key;
    int* integer = nullptr;
    double* real = nullptr;
    char* text = nullptr;

    std::string Name() const { return std::string(section) + "." + key; }
    // The value as the settings file holds it.
    std::string Shown() const {
        char buffer[352];
        if (integer) std::snprintf(buffer, sizeof buffer, "%d", *integer);
        if (real) std::snprintf(buffer, sizeof buffer, "%5.3lf", *real);
        return text ? std::string(text) : std::string(buffer);
    }
};

class CollectKeys : public KeyVisitor {
public:
    explicit CollectKeys(std::vector<KeyField>& out) : out_(out) {}
    void operator()(const char* s, const char* k, int& v) override { out_.push_back({s, k, &v}); }
    void operator()(const char* s, const char* k, double& v) override { out_.push_back({s, k, nullptr, &v}); }
    void operator()(const char* s, const char* k, char (&v)[kIniPathCapacity]) override {
        out_.push_back({s, k, nullptr, nullptr, v});
    }

private:
    std::vector<KeyField>& out_;
};

// Both records of one set; its keys in file order.
struct SettingSet {
    CStageParams stage;
    CLetterParams letters;

    std::vector<KeyField> Keys() {
        std::vector<KeyField> keys;
        CollectKeys collect(keys);
        stage.WalkKeys(collect);
        letters.WalkKeys(collect);
        return keys;
    }
    void Load(const char* path) {
        stage.Load(path);
        letters.Load(path);
    }
    void Save(const char* path) const {
        stage.Save(path);
        letters.Save(path);
    }
};

struct Options {
    int set = 0;
    std::string folder;
    std::string exportFile;
    std::string importFile;
    std::vector<std::string> assignments;
};

Options Parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--set") {
            o.set = ParseInt(a, TakeValue(args, i));
            if (o.set < 0 || o.set >= kSetCount) Fail(a, "set must be 0, 1 or 2");
        } else if (a == "--settings") {
            o.folder = TakeValue(args, i);
        } else if (a == "--export") {
            o.exportFile = TakeValue(args, i);
        } else if (a == "--import") {
            o.importFile = TakeValue(args, i);
        } else if (a.size() > 1 && a[0] == '-') {
            Fail(a, "unknown option");
        } else {
            o.assignments.push_back(a);
        }
    }
    const int actions = !o.exportFile.empty() + !o.importFile.empty() + !o.assignments.empty();
    if (actions > 1) Fail("settings", "give either assignments, --export or --import");
    return o;
}

KeyField& FindKey(std::vector<KeyField>& keys, const std::string& section, const std::string& key,
                  const std::string& subject) {
    // Profile files compare names without regard to case.
    for (KeyField& field : keys)
        if (strcasecmp(field.section, section.c_str()) == 0 && strcasecmp(field.key, key.c_str()) == 0)
            return field;
    Fail(subject, "unknown key (prism settings lists them)");
}

// Stores one SECTION.KEY=VALUE into its field, refusing a value of the wrong kind.
void Assign(std::vector<KeyField>& keys, const std::string& assignment) {
    const auto equals = assignment.find('=');
    const auto dot = assignment.find('.');
    if (equals == std::string::npos || dot == std::string::npos || dot > equals)
        Fail(assignment, "expects SECTION.KEY=VALUE");
    const std::string name = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    KeyField& field = FindKey(keys, name.substr(0, dot), name.substr(dot + 1), name);
    if (std::strcmp(field.key, "VEXAOnly") == 0) Fail(name, "is always 1 and cannot be set");
    if (field.integer) {
        *field.integer = ParseInt(name, value);
    } else if (field.real) {
        char* end = nullptr;
        errno = 0;
        const double number = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(number))
            Fail(name, "expects a number, got '" + value + "'");
        *field.real = number;
    } else {
        if (value.size() >= kIniPathCapacity) Fail(name, "text longer than 259 characters");
        if (value.find_first_of("\r\n") != std::string::npos) Fail(name, "text must be one line");
        std::memcpy(field.text, value.c_str(), value.size() + 1);
    }
}

void List(SettingSet& current, const char* file) {
    SettingSet defaults;
    std::vector<KeyField> keys = current.Keys();
    const std::vector<KeyField> defaultKeys = defaults.Keys();
    std::printf("; %s\n", file);
    for (const char* section : kSectionOrder) {
        std::printf("[%s]\n", section);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (std::strcmp(keys[i].section, section) != 0) continue;
            const std::string line = std::string(keys[i].key) + "=" + keys[i].Shown();
            const bool isDefault = keys[i].Shown() == defaultKeys[i].Shown();
            std::printf(isDefault ? "%-28s (default)\n" : "%s\n", line.c_str());
        }
    }
}

// The set's own file must take the writes: the store does not report them.
void RequireWritable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) Fail(path, "cannot be written");
    std::fclose(file);
}

// A whole settings file, or none: written beside the target, then renamed.
void Export(const SettingSet& set, const std::string& target) {
    std::error_code error;
    const fs::path folder = fs::path(target).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error)) Fail(target, "its folder does not exist");
    if (fs::is_directory(target, error)) Fail(target, "is a folder");
    const std::string part = target + ".part";
    fs::remove(part, error);
    RequireWritable(part);
    set.Save(part.c_str());
    fs::rename(part, target, error);
    if (error) {
        fs::remove(part, error);
        Fail(target, "cannot be written");
    }
}

}  // namespace

int SettingsCommand(const std::vector<std::string>& args) {
    const Options o = Parse(args);
    std::error_code error;
    if (!o.folder.empty() && !fs::is_directory(o.folder, error)) Fail(o.folder, "settings folder does not exist");
    const std::string folder = o.folder.empty() ? platform::OwnModuleFolder() : o.folder;
    if (folder.empty()) Fail("settings", "the tool's own folder cannot be found; use --settings DIR");

    SettingSet set;
    if (!set.stage.Bind(folder.c_str(), kSetFiles[o.set]) || !set.letters.Bind(folder.c_str(), kSetFiles[o.set]))
        Fail(folder, "path too long for a settings file");
    const std::string own = set.stage.Path();
    set.Load(own.c_str());

    if (!o.exportFile.empty()) {
        Export(set, o.exportFile);
        return 0;
    }
    if (!o.importFile.empty()) {
        if (!fs::is_regular_file(o.importFile, error)) Fail(o.importFile, "no such file");
        set.stage.SetDefaults();
        set.letters.SetDefaults();
        set.Load(o.importFile.c_str());
    } else if (!o.assignments.empty()) {
        std::vector<KeyField> keys = set.Keys();
        for (const std::string& assignment : o.assignments) Assign(keys, assignment);
    } else {
        List(set, own.c_str());
        return 0;
    }
    RequireWritable(own);
    set.Save(own.c_str());
    return 0;
}
