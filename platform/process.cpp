// Executable path from the process's own executable link; thread id from the kernel.
#include "platform/process.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace zun::platform {

size_t ExecutablePath(char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  const ssize_t length = readlink("/proc/self/exe", buffer, capacity - 1);
  if (length <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  buffer[length] = '\0';
  return static_cast<size_t>(length);
}

const char* FileNameOfPath(const char* path) {
  const char* name = path;
  for (const char* cursor = path; *cursor != '\0'; ++cursor) {
    if (*cursor == '/' || *cursor == '\\') name = cursor + 1;
  }
  return name;
}

uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

}  // namespace zun::platform
