// The debugger output channel: one process-wide destination for debug text.
//
// With no handler installed, text goes to standard error when the environment
// variable ZUN_DEBUG_OUTPUT is "stderr" and is dropped otherwise, as debug
// strings are when no debugger listens. Tests install a handler to capture it.
#pragma once

namespace zun::platform {

using DebugOutputHandler = void (*)(const char* text, void* context);

// Sends a NUL-terminated text to the channel.
void OutputDebugText(const char* text);

// Replaces the channel's handler; null restores the default.
void SetDebugOutputHandler(DebugOutputHandler handler, void* context);

}  // namespace zun::platform
