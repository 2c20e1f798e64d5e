// Plugin API version: text form, compatibility rule and the full name rule.
#include "plugin/plugin_api_version.h"

#include <gtest/gtest.h>

#include <string>

#include "diagnostics/format_text.h"
#include "diagnostics/log_message.h"
#include "plugin/plugin_identity.h"
#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

PluginApiVersion Version(uint32_t major, uint32_t minor, uint32_t patch) {
  return PluginApiVersion{major, minor, patch, {}, {}};
}

TEST(PluginApiVersionTest, TextForm) {
  struct Row {
    PluginApiVersion version;
    const char* text;
  };
  const Row rows[] = {
      {Version(18, 0, 0), "18.0.0"},
      {PluginApiVersion{1, 2, 3, "rc1", "77"}, "1.2.3-rc1+77"},
      {PluginApiVersion{1, 2, 3, "", "77"}, "1.2.3+77"},
      {PluginApiVersion{1, 2, 3, "beta", ""}, "1.2.3-beta"},
      {Version(4294967295u, 0, 1), "4294967295.0.1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ToText(row.version), row.text);
  }
}

TEST(PluginApiVersionTest, RendersItselfInPositionalMessages) {
  EXPECT_EQ(FormatText("plugin API %1", PluginApiVersion{1, 2, 3, "rc1", ""}), "plugin API 1.2.3-rc1");
}

TEST(PluginApiVersionTest, FrameworkSpeaksEighteen) { EXPECT_EQ(ToText(FrameworkPluginApiVersion()), "18.0.0"); }

TEST(PluginApiVersionTest, CompatibilityRule) {
  struct Row {
    PluginApiVersion plugin;
    PluginApiVersion core;
    bool compatible;
  };
  const Row rows[] = {
      {Version(18, 0, 0), Version(18, 0, 0), true},
      {Version(18, 0, 0), Version(18, 3, 0), true},
      {Version(18, 0, 0), Version(18, 0, 7), true},
      {Version(18, 0, 0), Version(17, 9, 9), false},
      {Version(18, 0, 0), Version(19, 0, 0), false},
      {Version(18, 1, 0), Version(18, 0, 0), false},
      {Version(18, 1, 5), Version(18, 2, 0), true},
      {Version(18, 1, 5), Version(18, 1, 4), false},
      {PluginApiVersion{18, 0, 0, "rc1", "1"}, Version(18, 0, 0), true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ToText(row.plugin) + " against core " + ToText(row.core));
    EXPECT_EQ(IsCompatible(row.plugin, row.core), row.compatible);
  }
}

TEST(PluginIdentityTest, FullNameByType) {
  struct Row {
    const char* type;
    const char* fullName;
  };
  const Row rows[] = {
      {"backend", "zvk-be-zun-parties"},
      {"frontend", "zvk-fe-zun-parties"},
      {"Backend", "zvk-xx-zun-parties"},
      {"", "zvk-xx-zun-parties"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    EXPECT_EQ(GetFullNameFromShortNameAndType("zun-parties", row.type), row.fullName);
  }
}

TEST(PluginIdentityTest, IdentityKeepsShortNameAndType) {
  const PluginIdentity identity = MakePluginIdentity("zun-parties", kBackendPluginType);
  EXPECT_EQ(identity.shortName, "zun-parties");
  EXPECT_EQ(identity.fullName, "zvk-be-zun-parties");
  EXPECT_EQ(identity.type, "backend");
  EXPECT_EQ(identity.typeDetail, "");
}

}  // namespace
}  // namespace zun

namespace zun {
namespace {

TEST(PluginIdentityTest, UnknownTypeIsLoggedAsAnError) {
  AcquireLogging();
  testing::CapturingLogTarget target;
  target.Apply(LogTargetSettings{LogLevel::Okay, 0, 0, "#M"});
  EXPECT_EQ(GetFullNameFromShortNameAndType("zun-parties", "Backend"), "zvk-xx-zun-parties");
  EXPECT_EQ(GetFullNameFromShortNameAndType("zun-parties", "backend"), "zvk-be-zun-parties");
  ASSERT_EQ(target.records.size(), 1u);
  EXPECT_EQ(target.records[0].level, LogLevel::Error);
  EXPECT_EQ(target.records[0].groups, log_groups::DBG);
  EXPECT_EQ(target.records[0].message,
            "            Plugin Manager| GetFullNameFromShortNameAndType(\"zun-parties\", \"Backend\") called with an "
            "unknown type");
  target.Detach();
  ReleaseLogging();
}

}  // namespace
}  // namespace zun
