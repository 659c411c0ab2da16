// What every command of the prism tool shares: one failure type that becomes
// one line on standard error, and the parsing of option values.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

constexpr int kExitBadInput = 2;

struct Failure {
    std::string message;
};

[[noreturn]] inline void Fail(const std::string& subject, const std::string& problem) {
    throw Failure{subject.empty() ? problem : subject + ": " + problem};
}

inline int ParseInt(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < -2147483647L || value > 2147483647L)
        Fail(option, "expects a whole number, got '" + text + "'");
    return int(value);
}

// Takes the value of an option that needs one.
inline std::string TakeValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) Fail(args[i], "needs a value");
    return args[++i];
}
