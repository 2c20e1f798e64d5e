// A registered function: its signature, descriptive texts, flags and the
// callable that performs the call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "binding/binding_argument.h"
#include "binding/binding_type_ref.h"

namespace zun {

class BindingContext;

// What performs a call of a registered function. The remoting layer derives
// its invokers from it; the registry only owns and destroys it.
class BindingCallable {
 public:
  BindingCallable() = default;
  BindingCallable(const BindingCallable&) = delete;
  BindingCallable& operator=(const BindingCallable&) = delete;
  virtual ~BindingCallable() = default;
};

struct BindingFunction {
  std::string name;
  std::vector<BindingArgument> arguments;
  BindingTypeRef returns;
  // What the API description shows instead of `returns` when set.
  BindingTypeRef publishedReturns;
  std::vector<std::string> tags;
  std::string nameSpace;
  std::string description;
  std::string help;
  bool threadSafe = false;
  bool async = false;  // the API description names the type of `returns`
  std::unique_ptr<BindingCallable> callable;
  BindingContext* context = nullptr;
};

}  // namespace zun
