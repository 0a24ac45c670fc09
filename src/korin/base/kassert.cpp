#include "korin/base/kassert.h"

#include <cstdio>
#include <cstring>

namespace korin {

namespace {

void DefaultReporter([[maybe_unused]] const char* expression, [[maybe_unused]] const char* source,
                     [[maybe_unused]] int line) {
#ifndef NDEBUG
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, source, line);
#endif
}

AssertReporter g_reporter = &DefaultReporter;

} // namespace

AssertReporter SetAssertReporter(AssertReporter reporter) {
    AssertReporter previous = g_reporter;
    g_reporter = reporter != nullptr ? reporter : &DefaultReporter;
    return previous;
}

const char* TrimSourceName(const char* file, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return file;
    const char* start = file;
    for (const char* hit = std::strstr(file, "src/"); hit != nullptr;
         hit = std::strstr(hit + 1, "src/")) {
        start = hit + 4;
    }
    int n = 0;
    for (const char* c = start; *c != '\0' && n < size - 1; ++c)
        buffer[n++] = *c;
    buffer[n] = '\0';
    if (char* dot = std::strrchr(buffer, '.'); dot != nullptr && std::strchr(dot, '/') == nullptr) {
        *dot = '\0';
    }
    return buffer;
}

void ReportAssert(const char* expression, const char* file, int line) {
    char source[256];
    g_reporter(expression, TrimSourceName(file, source, static_cast<int>(sizeof source)), line);
}

} // namespace korin
