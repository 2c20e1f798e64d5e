// JsonValueBuilder: opening containers, with the depth bound.
#include "formats/json_value_builder.h"

#include "formats/nesting_limit.h"

namespace zun {

namespace {
constexpr size_t kInitialOpenContainers = 16;
}  // namespace

JsonValueBuilder::JsonValueBuilder() : current_(&root_) { open_.reserve(kInitialOpenContainers); }

bool JsonValueBuilder::Open(bool collection) {
  if (open_.size() >= kMaxNestingDepth) {
    tooDeep_ = true;
    return false;
  }
  BindingProperty& target = Target();
  if (collection) {
    target.MakeCollection();
  } else {
    target.MakeStructure();
  }
  open_.push_back(&target);
  return true;
}

}  // namespace zun
