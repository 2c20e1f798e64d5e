// A value or an error message: what codecs and conversions return. A failed
// result holds a structure whose only member "error" is the message.
#pragma once

#include <string_view>
#include <utility>

#include "binding/binding_property.h"
#include "diagnostics/format_text.h"

namespace zun {

inline constexpr const char* kBindingErrorMember = "error";

class BindingResult {
 public:
  // An ok result holding Empty.
  BindingResult() = default;
  // An ok result holding `value` (taken over when it is a root).
  explicit BindingResult(BindingProperty&& value) : value_(std::move(value)) {}
  // Copies carry the flag with the value, so a failure stays a failure.
  BindingResult(const BindingResult& other) = default;
  BindingResult& operator=(const BindingResult& other);
  // The source ends up ok and Empty.
  BindingResult(BindingResult&& other);
  BindingResult& operator=(BindingResult&& other);
  ~BindingResult() = default;

  [[nodiscard]] bool Ok() const { return ok_; }
  [[nodiscard]] BindingProperty& Value() { return value_; }
  [[nodiscard]] const BindingProperty& Value() const { return value_; }

  // Replaces the value with {"error": message} and clears the flag.
  void SetError(std::string_view message);
  // As above with a message built from a pattern with %1, %2, %3.
  template <typename First, typename... Rest>
  void SetError(const char* pattern, const First& first, const Rest&... rest) {
    SetError(std::string_view(FormatText(pattern, first, rest...)));
  }

  // "" when ok; otherwise the "error" member's text ("" when it is no string).
  [[nodiscard]] std::string_view ErrorMessage() const;
  void ResetToOk();

 private:
  BindingProperty value_;
  bool ok_ = true;
};

}  // namespace zun
