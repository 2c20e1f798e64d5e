// Registration of the builtin vocabulary.
#include "builtins/builtin_vocabulary.h"

#include "binding/binding_context.h"
#include "builtins/async_types.h"
#include "builtins/builtin_texts.h"
#include "builtins/help_types.h"

namespace zun {

void RegisterBuiltins(BindingContext& context) {
  if (context.initialised()) {
    context.RemoveAll();
  }
  RegisterHelpTypes(context);
  RegisterAsyncTypes(context);
  context.RegisterEvent<BindingCallbackEvent>(builtin_texts::kOnCallbackName)
      .Description(builtin_texts::kOnCallbackDescription)
      .Tag(builtin_texts::kTagBuiltin);
  context.set_initialised(true);
}

}  // namespace zun
