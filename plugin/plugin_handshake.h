// The record the core hands to load_zun_parties, and the entry's signature.
// The core fills the first three words; the plugin fills the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

struct PluginCallbacks;
struct ApiDescription;

#pragma pack(push, 1)
struct PluginHandshake {
  uint32_t apiVersionMajor;
  uint32_t apiVersionMinor;
  uint32_t apiVersionPatch;
  const PluginCallbacks* callbacks;  // out: the plugin's callback table
  void* plugin;                      // out: opaque plugin object
  const char* name;                  // out: the plugin's short name
  const ApiDescription* apiDescription;  // out: the flat API description
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(PluginHandshake) == 28);
static_assert(offsetof(PluginHandshake, callbacks) == 12);
static_assert(offsetof(PluginHandshake, plugin) == 16);
static_assert(offsetof(PluginHandshake, name) == 20);
static_assert(offsetof(PluginHandshake, apiDescription) == 24);
#endif

}  // namespace zun

extern "C" {
// The module's only export.
using LoadZunPartiesFn = void (*)(zun::PluginHandshake*);
__attribute__((visibility("default"))) void load_zun_parties(zun::PluginHandshake* handshake);
}

namespace zun {
// Runs the load steps for this plugin and fills the handshake.
void LoadPlugin(PluginHandshake& handshake);
}  // namespace zun
