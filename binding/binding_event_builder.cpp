// Steps of an event registration.
#include "binding/binding_event_builder.h"

#include "binding/binding_event.h"

namespace zun {

BindingEventBuilder& BindingEventBuilder::Description(std::string_view text) {
  if (!skip_) {
    event_->description = text;
  }
  return *this;
}

BindingEventBuilder& BindingEventBuilder::Tag(std::string_view text) {
  if (!skip_ && !text.empty()) {
    event_->tags.emplace_back(text);
  }
  return *this;
}

}  // namespace zun
