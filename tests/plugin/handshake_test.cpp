// The load handshake through the built module, loaded the way the core loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "plugin/plugin_callbacks.h"
#include "plugin/plugin_handshake.h"

namespace zun {
namespace {

class LoadedModule {
 public:
  LoadedModule() : library_(dlopen(ZUN_PLUGIN_MODULE, RTLD_NOW | RTLD_LOCAL)) {
    if (library_ != nullptr) load_ = reinterpret_cast<LoadZunPartiesFn>(dlsym(library_, "load_zun_parties"));
  }
  // The module stays mapped, as a core keeps it until it exits.
  [[nodiscard]] bool Loaded() const { return load_ != nullptr; }
  void Load(PluginHandshake& handshake) const { load_(&handshake); }

 private:
  void* library_;
  LoadZunPartiesFn load_ = nullptr;
};

// The out-fields, copied out of the packed record (on 64-bit its pointers are
// not naturally aligned, so assertions must not bind references to them).
struct OutFields {
  uint32_t major, minor, patch;
  const PluginCallbacks* callbacks;
  void* plugin;
  const char* name;
  const ApiDescription* apiDescription;
};

OutFields Read(const PluginHandshake& handshake) {
  return OutFields{handshake.apiVersionMajor, handshake.apiVersionMinor, handshake.apiVersionPatch,
                   handshake.callbacks,       handshake.plugin,          handshake.name,
                   handshake.apiDescription};
}

PluginHandshake CoreHandshake(uint32_t major, uint32_t minor, uint32_t patch) {
  return PluginHandshake{major, minor, patch, nullptr, nullptr, nullptr, nullptr};
}

// Runs `body` in a child process and returns what it wrote to standard error.
template <typename Body>
std::string StandardErrorOfChild(Body body) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    dup2(pipe_ends[1], 2);
    body();
    _exit(0);
  }
  close(pipe_ends[1]);
  std::string output;
  char buffer[512];
  ssize_t count;
  while ((count = read(pipe_ends[0], buffer, sizeof(buffer))) > 0) output.append(buffer, static_cast<size_t>(count));
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return output;
}

TEST(HandshakeTest, ModuleExportsTheEntry) {
  const LoadedModule module;
  ASSERT_TRUE(module.Loaded()) << dlerror();
}

TEST(HandshakeTest, CompatibleCoreReceivesEverything) {
  const LoadedModule module;
  ASSERT_TRUE(module.Loaded());
  for (const PluginHandshake& core : {CoreHandshake(18, 0, 0), CoreHandshake(18, 3, 0), CoreHandshake(18, 0, 7)}) {
    SCOPED_TRACE(std::to_string(core.apiVersionMinor) + "." + std::to_string(core.apiVersionPatch));
    PluginHandshake handshake = core;
    module.Load(handshake);
    const OutFields out = Read(handshake);
    EXPECT_EQ(out.major, 18u);
    EXPECT_EQ(out.minor, 0u);
    EXPECT_EQ(out.patch, 0u);
    ASSERT_NE(out.plugin, nullptr);
    ASSERT_NE(out.callbacks, nullptr);
    ASSERT_NE(out.name, nullptr);
    EXPECT_STREQ(out.name, "zun-parties");
    EXPECT_NE(out.apiDescription, nullptr);
    ASSERT_NE(out.callbacks->Unload, nullptr);
    out.callbacks->Unload(out.plugin);
  }
}

TEST(HandshakeTest, MemoryStatsCarryCountersAndTwoZeroWords) {
  const LoadedModule module;
  ASSERT_TRUE(module.Loaded());
  PluginHandshake handshake = CoreHandshake(18, 0, 0);
  module.Load(handshake);
  const OutFields out = Read(handshake);
  ASSERT_NE(out.plugin, nullptr);
  PluginMemoryStats stats;
  for (uint32_t& word : stats.words) word = 0xDEADBEEF;
  out.callbacks->GetMemoryStats(out.plugin, &stats);
  EXPECT_EQ(stats.words[12], 0u);
  EXPECT_EQ(stats.words[13], 0u);
  EXPECT_GE(stats.words[6], 1u) << "the plugin object itself was counted";   // allocations, low word
  EXPECT_GT(stats.words[4], 0u) << "bytes allocated, low word";
  EXPECT_GE(stats.words[0], 1u) << "peak live bytes, low word";
  out.callbacks->Unload(out.plugin);
}

TEST(HandshakeTest, IncompatibleCoreGetsNullOutFieldsAndAReport) {
  const LoadedModule module;
  ASSERT_TRUE(module.Loaded());
  for (const PluginHandshake& core : {CoreHandshake(19, 0, 0), CoreHandshake(17, 9, 9)}) {
    PluginHandshake handshake = core;
    handshake.plugin = &handshake;  // a stale value the load must clear
    module.Load(handshake);
    const OutFields out = Read(handshake);
    EXPECT_EQ(out.plugin, nullptr);
    EXPECT_EQ(out.callbacks, nullptr);
    EXPECT_EQ(out.name, nullptr);
    EXPECT_EQ(out.apiDescription, nullptr);
    EXPECT_EQ(out.major, core.apiVersionMajor) << "the core's version stays as it was";
  }
}

TEST(HandshakeTest, IncompatibleCoreReportIsLoggedToStandardError) {
  const std::string output = StandardErrorOfChild([] {
    const LoadedModule module;
    PluginHandshake handshake = CoreHandshake(19, 0, 0);
    if (module.Loaded()) module.Load(handshake);
  });
  EXPECT_NE(output.find(":  ERROR| Assertion failed!\n\nExpression: ALE-EECF0606\n"), std::string::npos) << output;
  EXPECT_NE(output.find("            Plugin Manager| zun-parties which supports plugin API 18.0.0 is not "
                        "compatible with core's plugin API 19.0.0\n"),
            std::string::npos)
      << output;
}

TEST(HandshakeTest, NullHandshakeLeavesNothingBehind) {
  PluginHandshake handshake = CoreHandshake(18, 0, 0);
  load_zun_parties(nullptr);
  load_zun_parties(&handshake);  // the framework linked into this test program
  const OutFields out = Read(handshake);
  ASSERT_NE(out.plugin, nullptr);
  out.callbacks->Unload(out.plugin);  // the address sanitizer reports any leak
}

}  // namespace
}  // namespace zun
