// JsonValueBuilder: the tokenizer's event handler that builds a value tree.
//
//   value event (null, bool, number, string, start of array/object):
//     if the innermost open container is a collection: target = new element
//     store the event into target (null stores nothing)
//   start of array/object: target becomes a collection/structure (an existing
//     one of that kind keeps its contents) and is opened, innermost last
//   key:  target = member of the innermost structure (added Empty if missing)
//   end of array/object: close the innermost container
//
// Opening a container deeper than kMaxNestingDepth refuses the event, which
// stops the tokenizer; TooDeep() then tells why it stopped.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"

namespace zun {

class JsonValueBuilder {
 public:
  JsonValueBuilder();

  bool Null() {
    (void)Target();
    return true;
  }
  bool Bool(bool value) {
    Target().SetBool(value);
    return true;
  }
  // Non-negative integers are unsigned, negative ones signed, whatever width
  // the tokenizer chose.
  bool Int(int value) {
    Target().SetSigned(static_cast<int64_t>(value));
    return true;
  }
  bool Uint(unsigned value) {
    Target().SetUnsigned(static_cast<uint64_t>(value));
    return true;
  }
  bool Int64(int64_t value) {
    Target().SetSigned(value);
    return true;
  }
  bool Uint64(uint64_t value) {
    Target().SetUnsigned(value);
    return true;
  }
  bool Double(double value) {
    Target().SetFloat(value);
    return true;
  }
  // Only produced with a parse flag the reader never sets.
  bool RawNumber(const char*, unsigned, bool) { return false; }
  bool String(const char* text, unsigned length, bool) {
    Target().SetString(std::string_view(text, length));
    return true;
  }
  bool Key(const char* text, unsigned length, bool) {
    current_ = &open_.back()->Member(std::string_view(text, length));
    return true;
  }
  bool StartArray() { return Open(/*collection=*/true); }
  bool StartObject() { return Open(/*collection=*/false); }
  bool EndArray(unsigned) {
    open_.pop_back();
    return true;
  }
  bool EndObject(unsigned) {
    open_.pop_back();
    return true;
  }

  [[nodiscard]] BindingProperty& Root() { return root_; }
  [[nodiscard]] bool TooDeep() const { return tooDeep_; }

 private:
  // The value that the next value event writes to.
  BindingProperty& Target() {
    if (!open_.empty() && open_.back()->Kind() == BindingKind::Collection) {
      return open_.back()->Append();
    }
    return *current_;
  }
  bool Open(bool collection);

  BindingProperty root_;
  BindingProperty* current_;
  std::vector<BindingProperty*> open_;
  bool tooDeep_ = false;
};

}  // namespace zun
