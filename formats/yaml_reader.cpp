// The YAML reader's event loop over the parser, and its sniffing test.
#include "formats/yaml_reader.h"

#include <yaml.h>

#include <algorithm>
#include <cstring>

#include "formats/yaml_messages.h"
#include "formats/yaml_value_builder.h"

namespace zun {

namespace {

// Aliases may create this many values in all, or as many as the text has
// bytes when that is more: a few lines of nested aliases cannot expand into
// billions of values.
constexpr size_t kAliasValueBudget = 1'000'000;

std::string_view TextOf(const yaml_char_t* text) {
  return text == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(text));
}

YamlMark MarkOf(const yaml_event_t& event) {
  return {event.start_mark.line + 1, event.start_mark.column + 1};
}

void Dispatch(const yaml_event_t& event, YamlValueBuilder& builder) {
  switch (event.type) {
    case YAML_DOCUMENT_START_EVENT:
      builder.DocumentStart();
      break;
    case YAML_SCALAR_EVENT: {
      const auto& scalar = event.data.scalar;
      builder.Scalar({.text = {reinterpret_cast<const char*>(scalar.value), scalar.length},
                      .tag = reinterpret_cast<const char*>(scalar.tag),
                      .anchor = TextOf(scalar.anchor),
                      .quoted = scalar.style == YAML_SINGLE_QUOTED_SCALAR_STYLE ||
                                scalar.style == YAML_DOUBLE_QUOTED_SCALAR_STYLE,
                      .mark = MarkOf(event)});
      break;
    }
    case YAML_SEQUENCE_START_EVENT:
      builder.SequenceStart(TextOf(event.data.sequence_start.anchor), MarkOf(event));
      break;
    case YAML_MAPPING_START_EVENT:
      builder.MappingStart(TextOf(event.data.mapping_start.anchor), MarkOf(event));
      break;
    case YAML_SEQUENCE_END_EVENT:
    case YAML_MAPPING_END_EVENT:
      builder.ContainerEnd();
      break;
    case YAML_ALIAS_EVENT:
      builder.Alias(TextOf(event.data.alias.anchor), MarkOf(event));
      break;
    default:
      break;
  }
}

struct ParserPosition {
  size_t line = 0;
  size_t column = 0;
};

// The 0-based line and column (in characters) of a byte offset, as the parser
// counts them; its decoding errors report only the offset.
ParserPosition PositionOfOffset(std::string_view text, size_t offset) {
  ParserPosition position;
  offset = std::min(offset, text.size());
  for (size_t i = 0; i < offset; ++i) {
    const char c = text[i];
    if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
      ++position.line;
      position.column = 0;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++position.column;
    }
  }
  return position;
}

void ReportParserError(const yaml_parser_t& parser, std::string_view text, BindingResult& result) {
  ParserPosition position{parser.problem_mark.line, parser.problem_mark.column};
  if (parser.error == YAML_READER_ERROR) position = PositionOfOffset(text, parser.problem_offset);
  const char* problem = parser.problem != nullptr ? parser.problem : yaml_messages::kParserProblemUnknown;
  result.SetError(yaml_messages::kParserError, problem, position.line, position.column);
}

// The parser and its current event, released on every way out.
class ParserSession {
 public:
  ParserSession() : ready_(yaml_parser_initialize(&parser_) != 0) {}
  ~ParserSession() {
    yaml_event_delete(&event_);
    if (ready_) yaml_parser_delete(&parser_);
  }
  ParserSession(const ParserSession&) = delete;
  ParserSession& operator=(const ParserSession&) = delete;

  [[nodiscard]] bool Ready() const { return ready_; }
  [[nodiscard]] yaml_parser_t& Parser() { return parser_; }
  [[nodiscard]] const yaml_event_t& Event() const { return event_; }
  // Deletes the current event and parses the next; false on a parser error.
  [[nodiscard]] bool Next() {
    yaml_event_delete(&event_);
    return yaml_parser_parse(&parser_, &event_) != 0;
  }

 private:
  yaml_parser_t parser_{};
  yaml_event_t event_{};
  bool ready_;
};

}  // namespace

BindingResult DeserializeYaml(std::string_view text) {
  BindingResult result;
  ParserSession session;
  if (!session.Ready()) {
    result.SetError(yaml_messages::kParserCannotStart);
    return result;
  }
  yaml_parser_t& parser = session.Parser();
  yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
  // The parser wants a non-null input even when it is empty.
  const char* input = text.empty() ? "" : text.data();
  yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(input), text.size());
  YamlValueBuilder builder(result, std::max(kAliasValueBudget, text.size()));
  while (session.Next() && session.Event().type != YAML_STREAM_END_EVENT) {
    Dispatch(session.Event(), builder);
    if (!result.Ok()) return result;
  }
  if (parser.error != YAML_NO_ERROR) ReportParserError(parser, text, result);
  return result;
}

BindingResult DeserializeYaml(const char* text) {
  return DeserializeYaml(text == nullptr ? std::string_view() : std::string_view(text));
}

bool LooksLikeYaml(const char* text) {
  if (text == nullptr) return false;
  while (*text == ' ') ++text;
  return std::strncmp(text, "---", 3) == 0;
}

}  // namespace zun
