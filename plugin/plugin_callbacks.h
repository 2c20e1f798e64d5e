// The table of plain functions the plugin hands to the core in the handshake.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

struct CoreInterface;
struct PluginMemoryStats;

struct PluginCallbacks {
  uint8_t (*Initialize)(void* plugin, CoreInterface* core);
  void (*Unload)(void* plugin);
  void (*GetMemoryStats)(void* plugin, PluginMemoryStats* stats);
};

#if defined(__i386__)
static_assert(sizeof(PluginCallbacks) == 12);
#endif

// Fourteen 32-bit words: the six allocation counters as 64-bit values, low
// word first, then two words that are always zero.
struct PluginMemoryStats {
  uint32_t words[14];
};

static_assert(sizeof(PluginMemoryStats) == 56);

}  // namespace zun
