// The YAML reader's messages, in one place. Placeholders are positional (%1,
// %2, ...); "At line: L col: C" counts from 1, except in the parser message,
// which reports the parser's own 0-based position.
#pragma once

namespace zun::yaml_messages {

// %1 the parser's problem text, %2 line, %3 column (both from 0).
inline constexpr const char* kParserError = "YAML parser error: %1. At line: %2 col: %3";
inline constexpr const char* kMultiDocument = "Multi-document YAML is not supported.";
// %1 line, %2 column.
inline constexpr const char* kInvalidMappingKey =
    "Invalid mapping key. Only string scalar keys are allowed. At line: %1 col: %2";
inline constexpr const char* kUnexpectedSequence = "Unexpected start of sequence. At line: %1 col: %2";
inline constexpr const char* kUnexpectedMapping = "Unexpected start of mapping. At line: %1 col: %2";
// %1 anchor or alias name, %2 line, %3 column.
inline constexpr const char* kDuplicateAnchor = "Duplicate occurrence of anchor \"%1\". At line: %2 col: %3";
inline constexpr const char* kCyclicAlias = "Cannot deserialize cyclic aliases. Alias \"%1\". At line: %2 col: %3";
inline constexpr const char* kUndefinedAlias = "Undefined alias encountered: \"%1\". At line: %2 col: %3";
// %1 the full tag.
inline constexpr const char* kUnsupportedTag = "Unsupported YAML tag '%1'.";

// The reader's own limits and choices.
// %1 the deepest nesting allowed, %2 line, %3 column.
inline constexpr const char* kNestingTooDeep =
    "YAML document nested deeper than %1 levels. At line: %2 col: %3";
// %1 alias name, %2 the deepest nesting allowed, %3 line, %4 column.
inline constexpr const char* kAliasTooDeep =
    "Alias \"%1\" nests the document deeper than %2 levels. At line: %3 col: %4";
// %1 alias name, %2 the number of values that aliases may create, %3 line, %4 column.
inline constexpr const char* kAliasBudgetExceeded =
    "Alias \"%1\" expands the document beyond %2 copied values. At line: %3 col: %4";
// %1 alias name, %2 line, %3 column.
inline constexpr const char* kAliasKeyNotString =
    "Invalid mapping key. Alias \"%1\" does not refer to a string scalar. At line: %2 col: %3";
// Stands in for the parser's problem text when it gives none (out of memory).
inline constexpr const char* kParserProblemUnknown = "unknown problem";
inline constexpr const char* kParserCannotStart = "YAML parser error: the parser could not be created.";

}  // namespace zun::yaml_messages
