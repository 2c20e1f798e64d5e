// The texts of the JSON reader: the message form and one text per tokenizer
// error code. These texts are the system's own, whatever texts the installed
// tokenizer ships with.
#pragma once

#include "formats/rapidjson_config.h"

#include <rapidjson/error/error.h>

namespace zun {

// %s: the text of the error code; %u: the byte offset of the error.
inline constexpr const char* kJsonErrorFormat = "Error: %s at offset %u.";

inline constexpr const char* kJsonTextRootNotSingular = "The document root must not follow by other values.";
inline constexpr const char* kJsonTextInvalidValue = "Invalid value.";
inline constexpr const char* kJsonTextMissName = "Missing a name for object member.";
inline constexpr const char* kJsonTextMissColon = "Missing a colon after a name of object member.";
inline constexpr const char* kJsonTextMissCommaOrBrace = "Missing a comma or '}' after an object member.";
inline constexpr const char* kJsonTextMissCommaOrBracket = "Missing a comma or ']' after an array element.";
inline constexpr const char* kJsonTextBadHexEscape = "Incorrect hex digit after \\u escape in string.";
inline constexpr const char* kJsonTextBadSurrogate = "The surrogate pair in string is invalid.";
inline constexpr const char* kJsonTextBadEscape = "Invalid escape character in string.";
inline constexpr const char* kJsonTextMissQuote = "Missing a closing quotation mark in string.";
inline constexpr const char* kJsonTextBadEncoding = "Invalid encoding in string.";
inline constexpr const char* kJsonTextNumberTooBig = "Number too big to be stored in double.";
inline constexpr const char* kJsonTextMissFraction = "Miss fraction part in number.";
inline constexpr const char* kJsonTextMissExponent = "Miss exponent in number.";
inline constexpr const char* kJsonTextTermination = "Terminate parsing due to Handler error.";
inline constexpr const char* kJsonTextUnspecific = "Unspecific syntax error.";
inline constexpr const char* kJsonTextUnknown = "Unknown error.";

// Takes the place of the handler's termination text when a document nests
// arrays and objects deeper than the readers allow. %1: the limit.
inline constexpr const char* kJsonTextTooDeepFormat = "Nesting is deeper than the limit of %1 levels.";

// A failed internal check of the tokenizer; no byte offset is known then.
inline constexpr const char* kJsonTokenizerCheckFailed = "Error: the JSON tokenizer failed an internal check.";

// The text of a tokenizer error code.
[[nodiscard]] const char* JsonErrorText(rapidjson::ParseErrorCode code);

}  // namespace zun
