// Checks in the manner of Wine's conformance tests: every check says what it
// got and what it expected, and the program ends with a count.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wine_test {

inline int gPassed = 0;
inline int gFailed = 0;

inline bool Check(bool condition, const char* file, int line, const char* format, ...) {
    if (condition) {
        ++gPassed;
        return true;
    }
    ++gFailed;
    std::fprintf(stdout, "%s:%d: Test failed: ", file, line);
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    return false;
}

// Whether `name` is one of the comma-separated names in the variable.
inline bool Listed(const char* variable, const char* name) {
    const char* list = std::getenv(variable);
    const std::size_t length = std::strlen(name);
    for (const char* p = list; p && *p;) {
        const char* end = std::strchr(p, ',');
        const std::size_t n = end ? std::size_t(end - p) : std::strlen(p);
        if (n == length && std::strncmp(p, name, n) == 0) return true;
        p = end ? end + 1 : nullptr;
    }
    return false;
}

// Runs one scenario, named on standard output first (at once, so that a
// program that hangs or dies shows where). WINE_TEST_ONLY=NAME runs just
// that one, for a closer look; WINE_TEST_SKIP=NAME,... leaves those out (a
// build that cannot run them says why).
template <class F>
void Scenario(const char* name, F run) {
    if (std::getenv("WINE_TEST_ONLY") && !Listed("WINE_TEST_ONLY", name)) return;
    if (Listed("WINE_TEST_SKIP", name)) {
        std::printf("-- %s left out on this build\n", name);
        std::fflush(stdout);
        return;
    }
    std::printf("-- %s\n", name);
    std::fflush(stdout);
    run();
}

// Prints the closing count; the program's exit status.
inline int Finish() {
    std::printf("%d passed, %d failed\n", gPassed, gFailed);
    return gFailed == 0 ? 0 : 1;
}

}  // namespace wine_test

#define ok(condition, ...) wine_test::Check((condition), __FILE__, __LINE__, __VA_ARGS__)
