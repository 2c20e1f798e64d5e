// Assertion reports: a fixed-layout text about a failed check, logged as an
// error in the group DBG. A report never stops the process.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

// Builds the report text into `buffer` (cut to its size, always
// NUL-terminated when size > 0). Null or empty texts and a zero line are left
// out. Returns the length written.
size_t FormatAssertionReport(char* buffer, size_t size, const char* expression, const char* description,
                             const char* file, uint32_t line, const char* function);

// Builds the report and logs it with LogMessage(Error, DBG, "%s", report).
void ReportAssertion(const char* expression, const char* description, const char* file, uint32_t line,
                     const char* function);

}  // namespace zun
