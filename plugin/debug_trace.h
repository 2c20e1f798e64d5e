// The debug trace hook: where the core-event machinery reports what it does
// and what it drops. By default the messages are discarded; a test or a
// debugging session may install a sink to see them.
#pragma once

#include <cstdarg>

namespace zun {

using DebugTraceSink = void (*)(const char* line);

// Formats and hands the line to the installed sink; without one, nothing is
// formatted.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the sink (null: discard); returns the previous one.
DebugTraceSink SetDebugTraceSink(DebugTraceSink sink);

}  // namespace zun
