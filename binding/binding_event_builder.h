// The handle through which one event is registered. A builder for a name
// that was already registered skips every step.
#pragma once

#include <string_view>

namespace zun {

struct BindingEvent;

class BindingEventBuilder {
 public:
  BindingEventBuilder(BindingEvent& event, bool skip) : event_(&event), skip_(skip) {}

  [[nodiscard]] BindingEvent& event() const { return *event_; }
  [[nodiscard]] bool skipped() const { return skip_; }

  BindingEventBuilder& Description(std::string_view text);
  // Appends a tag; an empty text adds nothing.
  BindingEventBuilder& Tag(std::string_view text);

 private:
  BindingEvent* event_;
  bool skip_;
};

}  // namespace zun
