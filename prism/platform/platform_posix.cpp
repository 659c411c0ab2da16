// POSIX backend of the platform unit: Windows profile-file rules implemented
// over plain files, the shared library's own folder through dladdr, dlopen for
// the optional converter, and MulDiv.
//
// Profile files, by Windows' rules: "[section]" lines open sections, every
// other non-blank line is a key, "key=value" or a bare "key" (present, but
// read as missing); a line starting with ";" is an ordinary key, not a
// comment. Names are compared without case and the first section or key of a
// name wins; blanks around names and values are trimmed and one pair of
// surrounding quotes is removed from a value. Writes keep every other line as
// it stood, replace a key's line in place, append a new key after the last
// entry of its section and a new section at the end with no blank line
// before it. A file is read and indexed once per ProfileFile and written
// once per Commit, so a settings Load or Save costs one pass over the file
// however many keys it touches.
// Lines end in CR LF, as the Windows side writes them.
#include "platform.h"

#include <dlfcn.h>
#include <link.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

// Names are compared without case (ASCII, as the settings' names are).
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = char(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

// One line of a profile file, classified once.
struct Line {
    std::string text;  // as read, without its line end
    bool isSection = false;
    bool isKey = false;
    bool hasValue = false;  // a key line with "="
    std::string name;       // section name or key name
    std::string value;      // trimmed, quotes removed
};

Line Classify(std::string text) {
    Line line;
    line.text = std::move(text);
    const std::string_view t = Trim(line.text);
    if (t.empty()) return line;
    if (t[0] == '[') {
        const auto close = t.find(']');
        line.isSection = true;
        line.name = Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        return line;
    }
    const auto eq = t.find('=');
    line.isKey = true;
    line.hasValue = eq != std::string_view::npos;
    line.name = Trim(t.substr(0, eq));
    if (line.hasValue) {
        std::string_view v = Trim(t.substr(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        line.value = v;
    }
    return line;
}

// A section's lines, its header first (the part before the first header has
// none), and where each of its keys first appears. New keys go after the
// last non-blank line, so the positions of keys already indexed never move.
struct Section {
    std::vector<Line> lines;
    std::unordered_map<std::string, std::size_t> keys;

    void Add(Line line) {
        if (line.isKey) keys.emplace(Folded(line.name), lines.size());
        lines.push_back(std::move(line));
    }
    const Line* Key(const char* name) const {
        const auto k = keys.find(Folded(Trim(name)));
        return k == keys.end() ? nullptr : &lines[k->second];
    }
};

}  // namespace

struct ProfileFile::State {
    std::string path;
    std::vector<Section> sections;  // [0]: the lines before the first header
    std::unordered_map<std::string, std::size_t> sectionIndex;
    bool changed = false;

    void AddSection(Line header) {
        sectionIndex.emplace(Folded(header.name), sections.size());
        sections.emplace_back();
        sections.back().Add(std::move(header));
    }
    Section* Find(const char* name) {
        const auto s = sectionIndex.find(Folded(Trim(name)));
        return s == sectionIndex.end() ? nullptr : &sections[s->second];
    }
};

ProfileFile::ProfileFile(const char* path) : state_(new State{path, {}, {}, false}) {
    State& st = *state_;
    st.sections.emplace_back();
    std::ifstream in(path, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        Line line = Classify(std::move(text));
        if (line.isSection)
            st.AddSection(std::move(line));
        else
            st.sections.back().Add(std::move(line));
    }
}

ProfileFile::~ProfileFile() = default;

std::size_t ProfileFile::GetText(const char* section, const char* key, const char* fallback, char* out,
                                 std::size_t size) const {
    if (size == 0) return 0;
    std::string value = fallback ? fallback : "";
    if (const Section* s = state_->Find(section)) {
        const Line* line = s->Key(key);
        if (line && line->hasValue) value = line->value;
    }
    const std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
    std::memcpy(out, value.data(), n);
    out[n] = '\0';
    return n;
}

int ProfileFile::GetInteger(const char* section, const char* key, int fallback) const {
    char text[64];
    if (GetText(section, key, "", text, sizeof text) == 0) return fallback;
    // Leading sign and decimal digits; anything else ends the number.
    const char* p = text;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = (*p++ == '-');
    std::uint32_t n = 0;
    while (*p >= '0' && *p <= '9') n = n * 10 + std::uint32_t(*p++ - '0');
    return static_cast<int>(negative ? 0u - n : n);
}

void ProfileFile::WriteText(const char* section, const char* key, const char* value) {
    State& st = *state_;
    Line entry = Classify(std::string(key) + "=" + value);
    st.changed = true;
    Section* s = st.Find(section);
    if (!s) {
        st.AddSection(Classify(std::string("[") + section + "]"));
        st.sections.back().Add(std::move(entry));
        return;
    }
    const auto k = s->keys.find(Folded(entry.name));
    if (k != s->keys.end()) {
        s->lines[k->second] = std::move(entry);
        return;
    }
    std::size_t at = s->lines.size();
    while (at > 1 && Trim(s->lines[at - 1].text).empty()) --at;
    s->keys.emplace(Folded(entry.name), at);
    s->lines.insert(s->lines.begin() + long(at), std::move(entry));
}

bool ProfileFile::Commit() {
    State& st = *state_;
    if (!st.changed) return true;
    std::string out;
    for (const Section& s : st.sections)
        for (const Line& line : s.lines) out += line.text + kLineEnd;
    std::FILE* f = std::fopen(st.path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) return false;
    st.changed = false;
    return true;
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
