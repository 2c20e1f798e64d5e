// Runs the JSON reader over the JSON conformance suite in ext-suites/json:
// y_ files must be accepted and n_ files rejected, and every file must give
// the verdict and error offset recorded for the tokenizer in
// json-rapidjson-verdicts.tsv (with the system's own texts).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "formats/json_messages.h"
#include "formats/json_reader.h"

namespace zun {
namespace {

const std::filesystem::path kSuiteDir = ZUN_EXT_SUITES_DIR;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// File name -> the tokenizer's recorded verdict ("accept", "reject <text> at <n>", "CRASH ...").
std::map<std::string, std::string> ReadVerdicts() {
  std::map<std::string, std::string> verdicts;
  std::istringstream lines(ReadFile(kSuiteDir / "json-rapidjson-verdicts.tsv"));
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string file, expects, verdict;
    std::getline(fields, file, '\t');
    std::getline(fields, expects, '\t');
    std::getline(fields, verdict, '\t');
    verdicts[file] = verdict;
  }
  return verdicts;
}

constexpr const char* kTooDeepPrefix = "Error: Nesting is deeper than the limit of 512 levels. at offset ";

// What our reader must say for a recorded verdict: "" for success, else the message.
std::string ExpectedMessage(const std::string& verdict) {
  if (verdict == "accept") return "";
  // The deep files overflowed the tokenizer's stack; the depth bound stops
  // them at level 513, whose offset depends on the file.
  if (verdict.starts_with("CRASH")) return kTooDeepPrefix;
  const std::string reject = "reject ";
  const size_t at = verdict.rfind(" at ");
  std::string text = verdict.substr(reject.size(), at - reject.size());
  // Whitespace only (or nothing before the first NUL) is an empty body: no value, no error.
  if (text == "The document is empty.") return "";
  if (text == "The document root must not be followed by other values.") text = kJsonTextRootNotSingular;
  return "Error: " + text + " at offset " + verdict.substr(at + 4) + ".";
}

TEST(JsonSuiteTest, EveryFileGivesTheRecordedVerdict) {
  const std::map<std::string, std::string> verdicts = ReadVerdicts();
  ASSERT_EQ(verdicts.size(), 318u);
  // n_ files that hold a document once the text ends at its first NUL or at
  // the end: a number followed by NUL, and texts with no value at all.
  const std::set<std::string> acceptedRejects = {
      "n_multidigit_number_then_00.json", "n_single_space.json", "n_structure_no_data.json"};
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSuiteDir / "json")) {
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    ++files;
    const auto verdict = verdicts.find(name);
    ASSERT_NE(verdict, verdicts.end());
    const BindingResult result = DeserializeJson(ReadFile(entry.path()));
    const std::string expected = ExpectedMessage(verdict->second);
    if (expected == kTooDeepPrefix) {
      EXPECT_THAT(std::string(result.ErrorMessage()), testing::StartsWith(expected));
    } else {
      EXPECT_EQ(std::string(result.ErrorMessage()), expected);
    }
    if (name.starts_with("y_")) {
      EXPECT_TRUE(result.Ok());
    } else if (name.starts_with("n_")) {
      EXPECT_EQ(result.Ok(), acceptedRejects.count(name) == 1);
    }
  }
  EXPECT_EQ(files, 318u);
}

}  // namespace
}  // namespace zun
