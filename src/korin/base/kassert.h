#pragma once
// Contract checks of the numeric library. A violated contract is reported to
// one replaceable reporter and the caller continues with its defined fallback;
// nothing is thrown.

namespace korin {

// Receives the failed expression, the source file (trimmed to its path below
// src/, without extension) and the line.
using AssertReporter = void (*)(const char* expression, const char* source, int line);

// Installs a reporter (nullptr restores the default) and returns the previous one.
// The default writes to stderr in debug builds and stays silent in release builds.
AssertReporter SetAssertReporter(AssertReporter reporter);

// Reports a failed contract through the installed reporter.
void ReportAssert(const char* expression, const char* file, int line);

// "korin/base/mv_t" for ".../src/korin/base/mv_t.cpp"; the whole text when no
// "src/" appears in it.
const char* TrimSourceName(const char* file, char* buffer, int size);

} // namespace korin

// Evaluates to the truth of expr; reports it when false. Always evaluated, so
// the caller's fallback runs in release builds too.
#define KORIN_ASSERT(expr)                                                                         \
    (static_cast<bool>(expr) ? true : (::korin::ReportAssert(#expr, __FILE__, __LINE__), false))
