// Event payloads to native records, by registered type name.
#include "plugin/payload_conversion.h"

#include "binding/binding_context.h"
#include "binding/convert_to_native.h"

namespace zun {

namespace {
constexpr const char* kPayloadPath = "<result>";
}  // namespace

void ConvertPayloadToNative(BindingResult& status, void* target, const BindingProperty& payload,
                            const char* typeName, const BindingContext& context) {
  ConvertToNative(status, target, payload, kPayloadPath, context.FindType(typeName), context);
}

}  // namespace zun
