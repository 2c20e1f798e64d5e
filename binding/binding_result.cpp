// Results: the error form {"error": message} and the flag that travels with it.
#include "binding/binding_result.h"

namespace zun {

BindingResult& BindingResult::operator=(const BindingResult& other) {
  value_ = other.value_;
  ok_ = other.ok_;
  return *this;
}

BindingResult::BindingResult(BindingResult&& other) : value_(std::move(other.value_)), ok_(other.ok_) {
  other.ok_ = true;
}

BindingResult& BindingResult::operator=(BindingResult&& other) {
  if (this == &other) return *this;
  value_ = std::move(other.value_);
  ok_ = other.ok_;
  other.ok_ = true;
  return *this;
}

void BindingResult::SetError(std::string_view message) {
  // The message may be a text of this result's own tree: store it first.
  BindingProperty error;
  error.Member(kBindingErrorMember).SetString(message);
  value_ = std::move(error);
  ok_ = false;
}

std::string_view BindingResult::ErrorMessage() const {
  if (ok_) return {};
  return value_.Member(kBindingErrorMember).GetString();
}

void BindingResult::ResetToOk() {
  value_.Reset();
  ok_ = true;
}

}  // namespace zun
