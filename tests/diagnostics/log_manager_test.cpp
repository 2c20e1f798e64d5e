// Tests for the LogManager: its creation defaults, global filters, the
// per-target filters applied on dispatch, and its lifetime.
#include "diagnostics/log_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "diagnostics/console_log_targets.h"
#include "diagnostics/log_message.h"
#include "diagnostics/log_timestamp.h"
#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::CapturingLogTarget;
using testing::LoggingTest;

std::vector<std::string> SinkNames() {
  std::vector<std::string> names;
  for (LogSink* sink : LogManager::Instance().RegisteredSinks()) names.emplace_back(sink->name(sink));
  return names;
}

TEST_F(LoggingTest, CreatedWithStandardErrorAndDebuggerAttached) {
  EXPECT_EQ(SinkNames(), (std::vector<std::string>{"StdErrLogTarget", "DebuggerConsoleLogTarget"}));
  LogManager& manager = LogManager::Instance();
  EXPECT_EQ(manager.MinimumLevel(), LogLevel::Warn);
  EXPECT_EQ(manager.MutedGroups(), log_groups::XTR);
  EXPECT_FALSE(manager.IsDisabled());

  struct Row {
    LogTarget* target;
    const char* name;
    const char* format;
    LogGroupMask include;
    LogGroupMask exclude;
    bool attached;
  };
  const Row rows[] = {
      {&manager.StdErrTarget(), "StdErrLogTarget", "#E(#T): #L| #M", log_groups::DBG, log_groups::GEN, true},
      {&manager.StdOutTarget(), "StdOutLogTarget", "#M", log_groups::GEN, log_groups::DBG, false},
      {&manager.DebuggerTarget(), "DebuggerConsoleLogTarget", "#E(#T): #L| #M", log_groups::DBG, 0, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(row.target->Name(), row.name);
    EXPECT_STREQ(row.target->LineFormatFor(LogRecord{}), row.format);
    EXPECT_EQ(row.target->Level(), LogLevel::Warn);
    EXPECT_EQ(row.target->IncludeGroups(), row.include);
    EXPECT_EQ(row.target->ExcludeGroups(), row.exclude);
    EXPECT_EQ(row.target->IsAttached(), row.attached);
  }
}

TEST_F(LoggingTest, GlobalFiltersDropBeforeTargetsSeeAnything) {
  CapturingLogTarget target;
  AttachAlone(target);
  LogManager& manager = LogManager::Instance();
  LogMessage(LogLevel::Okay, log_groups::DBG, "below the minimum");
  LogMessage(LogLevel::Always, log_groups::XTR | log_groups::DBG, "muted group");
  LogMessage(LogLevel::Warn, log_groups::DBG, "passes");
  manager.Disable();
  LogMessage(LogLevel::Always, 0, "disabled");
  manager.Enable();
  manager.SetMinimumLevel(LogLevel::Okay);
  manager.SetMutedGroups(log_groups::NET);
  LogMessage(LogLevel::Okay, log_groups::XTR, "now shown");
  LogMessage(LogLevel::Error, log_groups::NET, "now muted");
  LogMessage(static_cast<LogLevel>(-1), 0, "negative level is below Okay");
  EXPECT_EQ(target.Messages(), (std::vector<std::string>{"passes", "now shown"}));
}

TEST_F(LoggingTest, TargetFiltersOnDispatch) {
  CapturingLogTarget target;
  AttachAlone(target);
  LogManager::Instance().SetMutedGroups(0);
  struct Row {
    LogLevel targetLevel;
    LogGroupMask include;
    LogGroupMask exclude;
    LogLevel level;
    LogGroupMask groups;
    bool received;
  };
  using namespace log_groups;
  const Row rows[] = {
      {LogLevel::Warn, 0, 0, LogLevel::Warn, DBG, true},
      {LogLevel::Error, 0, 0, LogLevel::Warn, DBG, false},
      {LogLevel::Warn, GEN, 0, LogLevel::Warn, DBG, false},
      {LogLevel::Warn, GEN, 0, LogLevel::Warn, DBG | GEN, true},
      {LogLevel::Warn, GEN, GEN, LogLevel::Warn, DBG | GEN, false},  // exclude wins
      {LogLevel::Warn, 0, NET, LogLevel::Warn, NET | DBG, false},
      {LogLevel::Warn, DBG, GEN, LogLevel::Warn, 0, true},  // no groups passes both tests
      {LogLevel::Error, DBG, GEN, LogLevel::Warn, 0, false},
      {LogLevel::Okay, 0, 0, LogLevel::Always, TST, true},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& row = rows[i];
    target.records.clear();
    target.SetLevel(row.targetLevel);
    target.SetGroups(row.include, row.exclude);
    LogMessage(row.level, row.groups, "row %zu", i);
    EXPECT_EQ(target.records.size(), row.received ? 1U : 0U);
  }
}

TEST_F(LoggingTest, RecordCarriesLevelGroupsTextAndTime) {
  CapturingLogTarget target;
  AttachAlone(target);
  target.SetLineFormat("#D");
  LogMessage(LogLevel::Error, log_groups::MEM | log_groups::DBG, "%s=%d", "answer", 42);
  ASSERT_EQ(target.records.size(), 1U);
  EXPECT_EQ(target.records[0].level, LogLevel::Error);
  EXPECT_EQ(target.records[0].groups, log_groups::MEM | log_groups::DBG);
  EXPECT_EQ(target.records[0].message, "answer=42");
  const LogTimestamp now = CurrentLogTimestamp();
  EXPECT_EQ(target.records[0].line.substr(0, 4), std::to_string(now.year));
}

TEST_F(LoggingTest, FindTargetReturnsTheFirstRegisteredMatch) {
  CapturingLogTarget first("Twin");
  CapturingLogTarget second("Twin");
  second.Attach();
  first.Attach();
  LogManager& manager = LogManager::Instance();
  EXPECT_EQ(manager.FindTarget("Twin"), second.Sink());
  EXPECT_EQ(manager.FindTarget("StdErrLogTarget"), manager.StdErrTarget().Sink());
  EXPECT_EQ(manager.FindTarget("StdOutLogTarget"), nullptr) << "not attached";
  EXPECT_EQ(manager.FindTarget("twin"), nullptr);
  EXPECT_EQ(manager.FindTarget(nullptr), nullptr);
}

TEST(LogManagerLifetimeTest, LastReleaseDetachesEverythingAndRestoresDefaults) {
  ASSERT_EQ(LoggingReferenceCount(), 0U);
  AcquireLogging();
  AcquireLogging();
  CapturingLogTarget target;
  target.Attach();
  LogManager::Instance().SetMinimumLevel(LogLevel::Okay);
  LogManager::Instance().Disable();
  ReleaseLogging();
  EXPECT_TRUE(target.IsAttached()) << "one reference is still held";
  ReleaseLogging();
  EXPECT_FALSE(target.IsAttached());
  EXPECT_EQ(LoggingReferenceCount(), 0U);
  ReleaseLogging();  // unbalanced: ignored
  EXPECT_EQ(LoggingReferenceCount(), 0U);

  AcquireLogging();
  EXPECT_EQ(LogManager::Instance().MinimumLevel(), LogLevel::Warn);
  EXPECT_FALSE(LogManager::Instance().IsDisabled());
  EXPECT_EQ(SinkNames(), (std::vector<std::string>{"StdErrLogTarget", "DebuggerConsoleLogTarget"}));
  ReleaseLogging();
}

TEST(LogManagerLifetimeTest, ReferencesTakenAndReleasedOnManyThreadsWhileLogging) {
  ASSERT_EQ(LoggingReferenceCount(), 0U);
  testing::DebugOutputCapture debugger;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        AcquireLogging();
        LogMessage(LogLevel::Warn, log_groups::TST, "churn %d", i);
        ReleaseLogging();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(LoggingReferenceCount(), 0U);
}

}  // namespace
}  // namespace zun
