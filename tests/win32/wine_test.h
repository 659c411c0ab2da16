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
    std::fflush(stdout);  // a test that hangs later still shows its failures
    return false;
}

// Whether a build leaves this scenario out: WINE_TEST_SKIP names such
// scenarios exactly, "|" between them (set by the test's definition, which
// gives the reason in WINE_TEST_NOTE). Says so when it does.
inline bool LeftOut(const char* name) {
    const char* list = std::getenv("WINE_TEST_SKIP");
    const std::size_t length = std::strlen(name);
    for (const char* part = list; part && *part;) {
        const char* end = std::strchr(part, '|');
        const std::size_t size = end ? std::size_t(end - part) : std::strlen(part);
        if (size == length && std::strncmp(part, name, size) == 0) {
            std::printf("scenario left out: %s\n", name);
            std::fflush(stdout);
            return true;
        }
        part = end ? end + 1 : nullptr;
    }
    return false;
}

// Prints the closing count; the program's exit status.
inline int Finish() {
    std::printf("%d passed, %d failed\n", gPassed, gFailed);
    return gFailed == 0 ? 0 : 1;
}

}  // namespace wine_test

#define ok(condition, ...) wine_test::Check((condition), __FILE__, __LINE__, __VA_ARGS__)
