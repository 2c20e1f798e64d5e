// Debugger output channel with a replaceable handler.
#include "platform/debug_output.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace zun::platform {

namespace {

struct Channel {
  std::mutex mutex;
  DebugOutputHandler handler = nullptr;
  void* context = nullptr;
};

Channel& TheChannel() {
  static Channel channel;
  return channel;
}

bool DefaultGoesToStandardError() {
  static const bool enabled = [] {
    const char* setting = std::getenv("ZUN_DEBUG_OUTPUT");
    return setting != nullptr && std::strcmp(setting, "stderr") == 0;
  }();
  return enabled;
}

}  // namespace

void OutputDebugText(const char* text) {
  if (text == nullptr) return;
  Channel& channel = TheChannel();
  std::lock_guard<std::mutex> lock(channel.mutex);
  if (channel.handler != nullptr) {
    channel.handler(text, channel.context);
  } else if (DefaultGoesToStandardError()) {
    std::fputs(text, stderr);
  }
}

void SetDebugOutputHandler(DebugOutputHandler handler, void* context) {
  Channel& channel = TheChannel();
  std::lock_guard<std::mutex> lock(channel.mutex);
  channel.handler = handler;
  channel.context = context;
}

}  // namespace zun::platform
