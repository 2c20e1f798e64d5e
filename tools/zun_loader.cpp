// Loads the plugin module like the core does, performs the handshake and
// prints what came back. Usage: zun-loader [MODULE] [MAJOR.MINOR.PATCH]
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "plugin/plugin_callbacks.h"
#include "plugin/plugin_handshake.h"

namespace {

struct CoreVersion {
  unsigned major = 18;
  unsigned minor = 0;
  unsigned patch = 0;
};

bool ParseVersion(const char* text, CoreVersion& version) {
  return std::sscanf(text, "%u.%u.%u", &version.major, &version.minor, &version.patch) == 3;
}

std::string DefaultModulePath(const char* self) {
  std::string path(self);
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  return dir + "/../lib/zun-parties.so";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string module = argc > 1 ? argv[1] : DefaultModulePath(argv[0]);
  CoreVersion core;
  if (argc > 2 && !ParseVersion(argv[2], core)) {
    std::fprintf(stderr, "usage: zun-loader [MODULE] [MAJOR.MINOR.PATCH]\n");
    return 2;
  }
  void* library = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", module.c_str(), dlerror());
    return 1;
  }
  auto load = reinterpret_cast<LoadZunPartiesFn>(dlsym(library, "load_zun_parties"));
  if (load == nullptr) {
    std::fprintf(stderr, "%s exports no load_zun_parties\n", module.c_str());
    return 1;
  }
  zun::PluginHandshake handshake{core.major, core.minor, core.patch, nullptr, nullptr, nullptr, nullptr};
  load(&handshake);
  std::printf("core plugin API %u.%u.%u\n", core.major, core.minor, core.patch);
  if (handshake.plugin == nullptr) {
    std::printf("handshake refused: the plugin is not compatible with this core\n");
    return 3;
  }
  std::printf("plugin '%s' speaks plugin API %u.%u.%u\n", handshake.name, handshake.apiVersionMajor,
              handshake.apiVersionMinor, handshake.apiVersionPatch);
  std::printf("callbacks %s, API description %s\n", handshake.callbacks ? "present" : "missing",
              handshake.apiDescription ? "present" : "missing");
  zun::PluginMemoryStats stats{};
  handshake.callbacks->GetMemoryStats(handshake.plugin, &stats);
  std::printf("allocations so far %u, live bytes at peak %u\n", stats.words[6], stats.words[0]);
  handshake.callbacks->Unload(handshake.plugin);
  std::printf("unloaded\n");
  // The module stays mapped until exit, as the core keeps it.
  return 0;
}
