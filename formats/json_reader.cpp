// DeserializeJson: the tokenizer, with no parse flags, driving JsonValueBuilder.
#include "formats/json_reader.h"

#include "formats/rapidjson_config.h"

#include <rapidjson/reader.h>

#include <cstdint>
#include <optional>

#include "formats/json_exponent_guard.h"
#include "formats/json_messages.h"
#include "formats/json_tokenizer_stack.h"
#include "formats/json_value_builder.h"
#include "formats/nesting_limit.h"

namespace zun {
namespace {

BindingResult Failure(const std::string& message) {
  BindingResult result;
  result.SetError(message);
  return result;
}

BindingResult ParseText(const char* text) {
  JsonValueBuilder builder;
  rapidjson::Reader reader;
  PrepareTokenizerStack(reader);
  rapidjson::StringStream stream(text);
  const rapidjson::ParseResult parsed = reader.Parse<rapidjson::kParseNoFlags>(stream, builder);
  if (!parsed.IsError() || parsed.Code() == rapidjson::kParseErrorDocumentEmpty) {
    return BindingResult(std::move(builder.Root()));
  }
  const auto offset = static_cast<uint32_t>(parsed.Offset());
  if (parsed.Code() == rapidjson::kParseErrorTermination && builder.TooDeep()) {
    const std::string tooDeep = FormatText(kJsonTextTooDeepFormat, kMaxNestingDepth);
    return Failure(FormatText(kJsonErrorFormat, tooDeep, offset));
  }
  return Failure(FormatText(kJsonErrorFormat, JsonErrorText(parsed.Code()), offset));
}

}  // namespace

BindingResult DeserializeJson(const char* text) {
  if (text == nullptr) return BindingResult();
  try {
    if (const std::optional<std::string> rewritten = RewriteHugeNegativeExponents(text)) {
      return ParseText(rewritten->c_str());
    }
    return ParseText(text);
  } catch (const RapidJsonCheckFailure&) {
    return Failure(kJsonTokenizerCheckFailed);
  }
}

BindingResult DeserializeJson(const std::string& text) { return DeserializeJson(text.c_str()); }

bool LooksLikeJson(const char* text) {
  if (text == nullptr) return false;
  while (*text == ' ') ++text;
  return *text == '{' || *text == '[';
}

}  // namespace zun
