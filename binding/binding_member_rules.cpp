// The failure that a member converter without rules of its own reports.
#include "binding/binding_member_rules.h"

#include "binding/binding_result.h"

namespace zun {

void FailMemberConversion(BindingResult& status, std::string_view path) {
  if (!status.Ok()) {
    return;  // the first failure is the one reported
  }
  status.SetError(kMessageNoMemberConversion, path);
}

}  // namespace zun
