// Tests for assertion reports: the layout with each piece present or absent,
// and the log line that carries it.
#include "diagnostics/assertion.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::CapturingLogTarget;
using testing::LoggingTest;

std::string Report(const char* expression, const char* description, const char* file, uint32_t line,
                   const char* function) {
  char text[1024];
  const size_t length = FormatAssertionReport(text, sizeof(text), expression, description, file, line, function);
  return std::string(text, length);
}

TEST(AssertionReportTest, PiecesArePresentOrLeftOut) {
  struct Row {
    const char* expression;
    const char* description;
    const char* file;
    uint32_t line;
    const char* function;
    const char* report;
  };
  const Row rows[] = {
      {"x > 0", nullptr, nullptr, 0, nullptr, "Assertion failed!\n\nExpression: x > 0"},
      {nullptr, nullptr, "engine", 12, nullptr, "Assertion failed!\n\nFile: engine\nLine: 12\n\n"},
      {nullptr, nullptr, nullptr, 0, nullptr, "Assertion failed!\n\n"},
      {"", "", "", 0, "", "Assertion failed!\n\n"},
      {"ok()", "must be ok", "a.cpp", 7, "Run",
       "Assertion failed!\n\nFile: a.cpp\nLine: 7\n\nFunction: Run\n\nExpression: ok()\n\nDescription: must be ok"},
      {nullptr, "why", nullptr, 0, "Fn", "Assertion failed!\n\nFunction: Fn\n\n\n\nDescription: why"},
      {"ALE-EECF0606", nullptr, nullptr, 0, nullptr, "Assertion failed!\n\nExpression: ALE-EECF0606"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.report);
    EXPECT_EQ(Report(row.expression, row.description, row.file, row.line, row.function), row.report);
  }
}

TEST(AssertionReportTest, ReportIsCutToTheBuffer) {
  char text[10];
  EXPECT_EQ(FormatAssertionReport(text, sizeof(text), "x", nullptr, nullptr, 0, nullptr), 9U);
  EXPECT_STREQ(text, "Assertion");
}

TEST_F(LoggingTest, ReportIsLoggedAsAnErrorInDbg) {
  CapturingLogTarget target;
  AttachAlone(target);
  ReportAssertion("x > 0", nullptr, nullptr, 0, nullptr);
  ReportAssertion("100%s", nullptr, nullptr, 0, nullptr);  // texts are never taken as formats
  ASSERT_EQ(target.records.size(), 2U);
  EXPECT_EQ(target.records[0].level, LogLevel::Error);
  EXPECT_EQ(target.records[0].groups, log_groups::DBG);
  EXPECT_EQ(target.records[0].line, "Assertion failed!\n\nExpression: x > 0\n");
  EXPECT_EQ(target.records[1].message, "Assertion failed!\n\nExpression: 100%s");
}

}  // namespace
}  // namespace zun
