// Tests for the log-group table: fixed names, registration and mask names.
#include "diagnostics/log_groups.h"

#include <gtest/gtest.h>

#include <string>

#include "diagnostics/log_level.h"

namespace zun {
namespace {

std::string Names(LogGroupMask mask, size_t size = 256) {
  std::string buffer(size, 'x');
  const size_t length = LogGroupNames(mask, buffer.data(), buffer.size());
  EXPECT_EQ(buffer[length], '\0');
  return buffer.substr(0, length);
}

TEST(LogGroupsTest, NamesOfMasksLowestBitFirst) {
  struct Row {
    LogGroupMask mask;
    const char* names;
  };
  const Row rows[] = {
      {0, ""},
      {log_groups::DBG, "DBG"},
      {0xFF, "DBG;GEN;XTR;PRF;MEM;DSK;NET;TST"},
      {0x0101, "DBG;LOC"},
      {LogGroupMask{1} << 63, "???"},
      {log_groups::NET | (LogGroupMask{1} << 40), "NET;???"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.names);
    EXPECT_EQ(Names(row.mask), row.names);
  }
}

TEST(LogGroupsTest, NamesAreCutToTheBuffer) {
  EXPECT_EQ(Names(0x0101, 6), "DBG;L");
  EXPECT_EQ(Names(0x0101, 1), "");
  EXPECT_EQ(LogGroupNames(0x0101, nullptr, 0), 0U);
}

// The whole life of the table in one test, since registration is for good.
TEST(LogGroupsTest, RegistrationMatchesThreeCharactersAndFillsTheTable) {
  EXPECT_EQ(Names(0x0201), "DBG;???");
  EXPECT_EQ(RegisterLogGroup("LOC"), log_groups::LOC);
  EXPECT_EQ(RegisterLogGroup("NETWORK"), log_groups::NET);
  EXPECT_EQ(RegisterLogGroup("DBG"), log_groups::DBG);
  EXPECT_EQ(RegisterLogGroup(""), 0U);
  EXPECT_EQ(RegisterLogGroup(nullptr), 0U);

  EXPECT_EQ(RegisterLogGroup("ABC"), LogGroupMask{0x200});
  EXPECT_EQ(RegisterLogGroup("ABC"), LogGroupMask{0x200});
  EXPECT_EQ(RegisterLogGroup("ABCDEF"), LogGroupMask{0x200});
  EXPECT_EQ(Names(0x0201), "DBG;ABC");

  EXPECT_EQ(RegisterLogGroup("Q"), LogGroupMask{1} << 10);  // shorter names are whole names
  EXPECT_EQ(RegisterLogGroup("Q"), LogGroupMask{1} << 10);
  EXPECT_EQ(Names(LogGroupMask{1} << 10), "Q");

  for (int bit = 11; bit < 64; ++bit) {
    const std::string name = "G" + std::to_string(bit);
    EXPECT_EQ(RegisterLogGroup(name.c_str()), LogGroupMask{1} << bit) << name;
  }
  EXPECT_EQ(Names(LogGroupMask{1} << 63), "G63");
  EXPECT_EQ(RegisterLogGroup("ZZZ"), 0U) << "the table holds 64 groups";
  EXPECT_EQ(RegisterLogGroup("G20"), LogGroupMask{1} << 20) << "existing names still resolve";
}

TEST(LogLevelTest, LabelsAreSixCharactersWide) {
  struct Row {
    int32_t level;
    const char* label;
  };
  const Row rows[] = {{0, "  OKAY"}, {1, "  WARN"}, {2, " ERROR"}, {3, "ALWAYS"}, {4, "   ???"}, {-1, "   ???"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.level);
    EXPECT_STREQ(LogLevelLabel(static_cast<LogLevel>(row.level)), row.label);
  }
}

}  // namespace
}  // namespace zun
