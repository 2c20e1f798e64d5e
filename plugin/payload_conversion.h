// Turning an event payload value into the native record of a registered type.
#pragma once

namespace zun {

class BindingContext;
class BindingProperty;
class BindingResult;

// Fills the native record at `target`, of the type registered under
// `typeName`, from `payload`; failures are recorded in `status` and name the
// value "<result>".
void ConvertPayloadToNative(BindingResult& status, void* target, const BindingProperty& payload,
                            const char* typeName, const BindingContext& context);

}  // namespace zun
