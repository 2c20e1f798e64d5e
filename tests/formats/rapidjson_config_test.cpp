// Tests that a failed internal check of the tokenizer unwinds to the caller
// instead of ending the process, and that the tokenizer's stack is ready
// before the first push.
#include "formats/rapidjson_config.h"

#include <gtest/gtest.h>
#include <rapidjson/reader.h>

#include <string>

#include "formats/json_tokenizer_stack.h"

namespace zun {
namespace {

void CheckThat(bool condition) { RAPIDJSON_ASSERT(condition); }

TEST(RapidJsonConfigTest, AFailedCheckThrowsAndAPassedOneDoesNot) {
  EXPECT_NO_THROW(CheckThat(true));
  EXPECT_THROW(CheckThat(false), RapidJsonCheckFailure);
}

TEST(RapidJsonConfigTest, APreparedTokenizerParsesStrings) {
  rapidjson::Reader reader;
  PrepareTokenizerStack(reader);
  rapidjson::BaseReaderHandler<> handler;
  const std::string longText = "[\"" + std::string(1000, 'x') + "\",\"y\"]";
  rapidjson::StringStream stream(longText.c_str());
  EXPECT_FALSE(reader.Parse<rapidjson::kParseNoFlags>(stream, handler).IsError());
}

}  // namespace
}  // namespace zun
