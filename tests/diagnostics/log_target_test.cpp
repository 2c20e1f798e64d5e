// Tests for LogTarget: its filters, its LogSink table, attachment and the
// application of settings.
#include "diagnostics/log_target.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "diagnostics/log_message.h"
#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::CapturingLogTarget;
using testing::LoggingTest;

TEST(LogTargetTest, StartsDetachedAtWarnWithNoGroupsAndTheDefaultFormat) {
  CapturingLogTarget target;
  EXPECT_FALSE(target.IsAttached());
  EXPECT_EQ(target.Level(), LogLevel::Warn);
  EXPECT_EQ(target.IncludeGroups(), 0U);
  EXPECT_EQ(target.ExcludeGroups(), 0U);
  EXPECT_STREQ(target.LineFormatFor(LogRecord{}), "#D| #L| #G| #M");
}

TEST(LogTargetTest, ExcludedGroupsAreRemovedFromTheIncludedOnes) {
  CapturingLogTarget target;
  target.SetGroups(log_groups::DBG | log_groups::GEN, log_groups::GEN);
  EXPECT_EQ(target.IncludeGroups(), log_groups::DBG);
  EXPECT_EQ(target.ExcludeGroups(), log_groups::GEN);
}

TEST(LogTargetTest, SinkTableForwardsToTheTarget) {
  CapturingLogTarget target("TableTarget");
  LogSink* sink = target.Sink();
  EXPECT_EQ(LogTarget::FromSink(sink), &target);
  EXPECT_EQ(sink->version(sink), 1);
  sink->setLevel(sink, LogLevel::Error);
  EXPECT_EQ(sink->getLevel(sink), LogLevel::Error);
  EXPECT_EQ(target.Level(), LogLevel::Error);
  sink->setGroups(sink, 0x7, 0x2);
  EXPECT_EQ(sink->getIncludeGroups(sink), 0x5U);
  EXPECT_EQ(sink->getExcludeGroups(sink), 0x2U);
  EXPECT_STREQ(sink->name(sink), "TableTarget");
  target.SetLineFormat("<#M>");
  LogRecord record;
  EXPECT_STREQ(sink->lineFormat(sink, &record), "<#M>");
  record.message = "direct";
  EXPECT_TRUE(sink->write(sink, &record));
  ASSERT_EQ(target.records.size(), 1U);
  EXPECT_EQ(target.records[0].line, "<direct>\n");
}

TEST_F(LoggingTest, AttachAndDetachAreIdempotentAndKeepListOrder) {
  CapturingLogTarget first("First");
  CapturingLogTarget second("Second");
  LogSink* sinkOne = first.Sink();
  sinkOne->attach(sinkOne);
  sinkOne->attach(sinkOne);
  second.Attach();
  EXPECT_TRUE(sinkOne->isAttached(sinkOne));
  auto sinks = LogManager::Instance().RegisteredSinks();
  ASSERT_EQ(sinks.size(), 4U);  // standard error, debugger, First, Second
  EXPECT_EQ(sinks[2], first.Sink());
  EXPECT_EQ(sinks[3], second.Sink());
  sinkOne->detach(sinkOne);
  sinkOne->detach(sinkOne);
  EXPECT_FALSE(first.IsAttached());
  sinks = LogManager::Instance().RegisteredSinks();
  ASSERT_EQ(sinks.size(), 3U);
  EXPECT_EQ(sinks[2], second.Sink());
}

TEST_F(LoggingTest, DestroyingATargetDetachesIt) {
  {
    CapturingLogTarget target("Temporary");
    target.Attach();
    EXPECT_NE(LogManager::Instance().FindTarget("Temporary"), nullptr);
  }
  EXPECT_EQ(LogManager::Instance().FindTarget("Temporary"), nullptr);
  LogMessage(LogLevel::Error, 0, "nobody dangling receives this");
}

TEST_F(LoggingTest, ApplyingSettingsReplacesFiltersAndAttaches) {
  CapturingLogTarget target;
  LogTargetSettings settings;
  settings.level = LogLevel::Okay;
  settings.includeGroups = log_groups::DBG | log_groups::NET;
  settings.excludeGroups = log_groups::NET;
  settings.lineFormat = "#L #M";
  target.Apply(settings);
  EXPECT_TRUE(target.IsAttached());
  EXPECT_EQ(target.Level(), LogLevel::Okay);
  EXPECT_EQ(target.IncludeGroups(), log_groups::DBG);
  EXPECT_EQ(target.ExcludeGroups(), log_groups::NET);
  LogManager::Instance().SetMinimumLevel(LogLevel::Okay);
  LogMessage(LogLevel::Okay, log_groups::DBG, "applied %d", 1);
  ASSERT_EQ(target.records.size(), 1U);
  EXPECT_EQ(target.records[0].line, "  OKAY applied 1\n");
  // Applying again while attached leaves one entry in the list.
  target.Apply(settings);
  LogMessage(LogLevel::Okay, log_groups::DBG, "once");
  EXPECT_EQ(target.records.size(), 2U);
}

TEST_F(LoggingTest, SettingsAppliedWhileOtherThreadsLogDoNotDeadlock) {
  CapturingLogTarget target;
  target.Apply(LogTargetSettings{});
  std::atomic<bool> stop{false};
  std::thread logger([&stop] {
    while (!stop.load()) LogMessage(LogLevel::Error, log_groups::TST, "busy");
  });
  LogTargetSettings settings;
  for (int i = 0; i < 200; ++i) {
    settings.level = (i % 2 == 0) ? LogLevel::Okay : LogLevel::Error;
    target.Apply(settings);
    target.SetGroups(log_groups::TST, 0);
    target.Detach();
  }
  stop.store(true);
  logger.join();
  target.Detach();
  EXPECT_FALSE(target.IsAttached());
  for (const auto& record : target.records) EXPECT_EQ(record.message, "busy");
}

}  // namespace
}  // namespace zun
