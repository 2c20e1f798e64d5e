// Facts about the running process: its executable and the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun::platform {

// Writes the executable's full path (NUL-terminated, cut to the capacity) and
// returns its length; 0 when the path cannot be read.
size_t ExecutablePath(char* buffer, size_t capacity);

// The part of a path after its last separator, '/' or '\\'; the whole path
// when it has none.
[[nodiscard]] const char* FileNameOfPath(const char* path);

// Kernel identifier of the calling thread.
[[nodiscard]] uint32_t CurrentThreadId();

}  // namespace zun::platform
