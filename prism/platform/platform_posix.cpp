// POSIX backend of the platform unit: Windows profile-file rules implemented
// over plain files, the shared library's own folder through dladdr, dlopen for
// the optional converter, and MulDiv.
//
// Profile files: "[section]" lines open sections, "key=value" lines hold
// values; names are compared without case, blanks around names and values are
// trimmed and one pair of surrounding quotes is removed from a value. Writes
// keep every other line as it stood, replace a key's line in place, append a
// new key after the last entry of its section and a new section at the end
// with no blank line before it.
// Lines end in CR LF, as the Windows side writes them.
#include "platform.h"

#include <dlfcn.h>
#include <link.h>
#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// One line of a profile file, classified once.
struct Line {
    std::string text;     // as read, without its line end
    bool isSection = false;
    std::string name;     // section name or key name
    std::string value;    // trimmed, quotes removed (keys only)
    bool isKey = false;
};

Line Classify(const std::string& text) {
    Line line;
    line.text = text;
    const std::string t = Trim(text);
    if (!t.empty() && t[0] == '[') {
        const auto close = t.find(']');
        line.isSection = true;
        line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return line;
    }
    if (t.empty() || t[0] == ';') return line;
    const auto eq = t.find('=');
    line.isKey = true;
    line.name = Trim(t.substr(0, eq));
    if (eq != std::string::npos) {
        std::string v = Trim(t.substr(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        line.value = v;
    }
    return line;
}

std::vector<Line> ReadLines(const char* path) {
    std::vector<Line> lines;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(Classify(text));
    }
    return lines;
}

// Index of the section's header line, or -1.
long FindSection(const std::vector<Line>& lines, const char* section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].isSection && SameName(lines[i].name, section)) return long(i);
    return -1;
}

// First line of the section's key with that name, or -1.
long FindKey(const std::vector<Line>& lines, long sectionLine, const char* key) {
    for (std::size_t i = sectionLine + 1; i < lines.size() && !lines[i].isSection; ++i)
        if (lines[i].isKey && SameName(lines[i].name, key)) return long(i);
    return -1;
}

}  // namespace

std::size_t GetProfileText(const char* section, const char* key, const char* fallback, char* out,
                           std::size_t size, const char* path) {
    if (size == 0) return 0;
    std::string value = fallback ? fallback : "";
    const auto lines = ReadLines(path);
    const long s = FindSection(lines, section);
    if (s >= 0) {
        const long k = FindKey(lines, s, key);
        if (k >= 0) value = lines[k].value;
    }
    const std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return n;
}

int GetProfileInteger(const char* section, const char* key, int fallback, const char* path) {
    char text[64];
    if (GetProfileText(section, key, "", text, sizeof text, path) == 0) return fallback;
    // Leading sign and decimal digits; anything else ends the number.
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    std::uint32_t n = 0;
    while (*p >= '0' && *p <= '9') n = n * 10 + std::uint32_t(*p++ - '0');
    return static_cast<int>(negative ? 0u - n : n);
}

bool WriteProfileText(const char* section, const char* key, const char* value, const char* path) {
    auto lines = ReadLines(path);
    const std::string entry = std::string(key) + "=" + value;
    long s = FindSection(lines, section);
    if (s < 0) {
        lines.push_back(Classify(std::string("[") + section + "]"));
        lines.push_back(Classify(entry));
    } else if (const long k = FindKey(lines, s, key); k >= 0) {
        lines[k] = Classify(entry);
    } else {
        // After the section's last non-blank line.
        std::size_t at = s + 1;
        for (std::size_t i = s + 1; i < lines.size() && !lines[i].isSection; ++i)
            if (!Trim(lines[i].text).empty()) at = i + 1;
        lines.insert(lines.begin() + long(at), Classify(entry));
    }
    std::ostringstream text;
    for (const auto& line : lines) text << line.text << kLineEnd;
    const std::string out = text.str();
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

std::string OwnModuleFolder() {
    Dl_info info{};
    link_map* map = nullptr;
    if (!dladdr1(reinterpret_cast<void*>(&OwnModuleFolder), &info, reinterpret_cast<void**>(&map),
                 RTLD_DL_LINKMAP) ||
        !map)
        return {};
    // The main program's map has no name (dladdr would give argv[0], which
    // may be a bare name found through PATH): ask the kernel instead.
    const std::string file = map->l_name[0] ? map->l_name : "/proc/self/exe";
    char* resolved = realpath(file.c_str(), nullptr);
    if (!resolved) return {};
    std::string path = resolved;
    std::free(resolved);
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void* OpenModule(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* FindEntry(void* module, const char* name) { return dlsym(module, name); }
void CloseModule(void* module) { dlclose(module); }

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t product = std::int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -std::int64_t(c) : c;
    std::int64_t q = (magnitude + divisor / 2) / divisor;  // halves away from zero
    if (negative) q = -q;
    if (q > INT32_MAX || q < -INT32_MAX) return -1;
    return static_cast<int>(q);
}

}  // namespace platform
