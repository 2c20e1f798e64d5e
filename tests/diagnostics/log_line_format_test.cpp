// Tests for line rendering: every token, escapes, truncation and line ends.
#include "diagnostics/log_line_format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "diagnostics/log_manager.h"
#include "diagnostics/log_timestamp.h"
#include "platform/process.h"

namespace zun {
namespace {

LogRecord SampleRecord(const char* message = "hello") {
  LogRecord record;
  record.time = {2017, 3, 5, 7, 8, 9, 10};
  record.level = LogLevel::Error;
  record.groups = 0x0101;
  record.message = message;
  return record;
}

std::string Render(const char* format, const LogRecord& record, size_t size = 4096) {
  std::string buffer(size, 'x');
  const size_t length = FormatLogLine(buffer.data(), buffer.size(), format, record);
  EXPECT_EQ(buffer[length], '\0');
  return buffer.substr(0, length);
}

std::string ThreadIdText() {
  char text[16];
  std::snprintf(text, sizeof(text), "%08X", platform::CurrentThreadId());
  return text;
}

TEST(LogLineFormatTest, TokensAndEscapes) {
  const std::string executable = LogManager::Instance().ExecutableName();
  struct Row {
    const char* format;
    std::string line;
  };
  const Row rows[] = {
      {"#D", "2017-03-05T07:08:09.010\n"},
      {"#L", " ERROR\n"},
      {"#G", "DBG;LOC\n"},
      {"#M", "hello\n"},
      {"#E", executable + "\n"},
      {"#T", ThreadIdText() + "\n"},
      {"#D| #L| #G| #M", "2017-03-05T07:08:09.010|  ERROR| DBG;LOC| hello\n"},
      {"#E(#T): #L| #M", executable + "(" + ThreadIdText() + "):  ERROR| hello\n"},
      {"##M", "#M\n"},
      {"a#xb#%", "axb%\n"},
      {"tail#", "tail\n"},
      {"#", "\n"},
      {"", "\n"},
      {"line\n", "line\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(Render(row.format, SampleRecord()), row.line);
  }
}

TEST(LogLineFormatTest, ExecutableNameIsTheLastPathPiece) {
  const char* path = LogManager::Instance().ExecutablePath();
  ASSERT_NE(path[0], '\0');
  EXPECT_STREQ(LogManager::Instance().ExecutableName(), platform::FileNameOfPath(path));
  EXPECT_EQ(std::string(LogManager::Instance().ExecutableName()).find('/'), std::string::npos);
}

TEST(LogLineFormatTest, MessageEndingInLineFeedGetsNoSecond) {
  EXPECT_EQ(Render("#M", SampleRecord("done\n")), "done\n");
  EXPECT_EQ(Render("#M", SampleRecord("")), "\n");
  EXPECT_EQ(Render("#G|", [] {
              LogRecord record = SampleRecord();
              record.groups = 0;
              return record;
            }()),
            "|\n");
}

TEST(LogLineFormatTest, LongLinesAreCutAndStillEndWithOneLineFeed) {
  const std::string longMessage(10000, 'm');
  const std::string line = Render("> #M <", SampleRecord(longMessage.c_str()));
  ASSERT_EQ(line.size(), 4095U);
  EXPECT_EQ(line.substr(0, 3), "> m");
  EXPECT_EQ(line[line.size() - 2], 'm');
  EXPECT_EQ(line.back(), '\n');

  struct Row {
    size_t size;
    const char* line;
  };
  const Row rows[] = {{8, "[hello\n"}, {6, "[hel\n"}, {3, "[\n"}, {2, "\n"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.size);
    EXPECT_EQ(Render("[#M]", SampleRecord(), row.size), row.line);
  }
  char one = 'x';
  EXPECT_EQ(FormatLogLine(&one, 1, "#M", SampleRecord()), 0U);
  EXPECT_EQ(one, '\0');
}

TEST(LogLineFormatTest, NullFormatAndMessageRenderAsEmpty) {
  LogRecord record = SampleRecord();
  record.message = nullptr;
  EXPECT_EQ(Render(nullptr, record), "\n");
  EXPECT_EQ(Render("<#M>", record), "<>\n");
}

TEST(LogLineFormatTest, HighResolutionSecondsCountFromTheFirstReading) {
  char first[32];
  FormatHighResolutionSeconds(first, sizeof(first));
  const std::string line = Render("#H", SampleRecord());
  ASSERT_EQ(line.size(), std::string("000000.000\n").size());
  EXPECT_EQ(line.substr(0, 5), "00000") << line;  // under ten seconds since the first reading
  EXPECT_EQ(line[6], '.');
}

TEST(LogTimestampTest, BothTextForms) {
  const LogTimestamp time{2017, 3, 5, 7, 8, 9, 10};
  char text[64];
  EXPECT_EQ(FormatLogTimestamp(text, sizeof(text), time), 23U);
  EXPECT_STREQ(text, "2017-03-05T07:08:09.010");
  EXPECT_EQ(FormatFileNameTimestamp(text, sizeof(text), time), 19U);
  EXPECT_STREQ(text, "2017-03-05T07-08-09");
  EXPECT_EQ(FormatLogTimestamp(text, 5, time), 4U);
  EXPECT_STREQ(text, "2017");
}

TEST(LogTimestampTest, CurrentTimeIsPlausible) {
  const LogTimestamp now = CurrentLogTimestamp();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
}

}  // namespace
}  // namespace zun
