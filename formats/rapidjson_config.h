// Settings of the JSON tokenizer. Every project file includes this header
// before any RapidJSON header so that all of them see the same settings.
//
// A failed internal check of the tokenizer must never end the host process,
// and the tokenizer's own code goes on after a failed check as if it had
// passed (reading out of bounds, for one). So a failed check is reported and
// then unwinds out of the tokenizer as RapidJsonCheckFailure, which the JSON
// reader turns into a failed result; it never leaves the reader.
#pragma once

#if defined(RAPIDJSON_RAPIDJSON_H_)
#error "formats/rapidjson_config.h must come before every RapidJSON header"
#endif

#include <stdexcept>

namespace zun {

class RapidJsonCheckFailure : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Logs an assertion report naming `condition` and throws RapidJsonCheckFailure.
[[noreturn]] void FailRapidJsonCheck(const char* condition, const char* file, unsigned line);

}  // namespace zun

#define RAPIDJSON_ASSERT(x) \
  ((x) ? static_cast<void>(0) : ::zun::FailRapidJsonCheck(#x, __FILE__, __LINE__))
