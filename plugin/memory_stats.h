// The memory statistics record the core reads through GetMemoryStats.
#pragma once

#include "plugin/plugin_callbacks.h"

namespace zun {

// Words 0-11: the six allocation counters, low word first; words 12-13: zero.
void FillMemoryStats(PluginMemoryStats* stats);

}  // namespace zun
