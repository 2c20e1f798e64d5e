// Registration of the builtin vocabulary that every registry holds before a
// plugin registers its own API: help types, asynchronous-operation and
// callback types, and the event "OnCallback".
#pragma once

namespace zun {

class BindingContext;

// Registers the builtin vocabulary and marks the context initialised. On a
// context that is initialised already, first removes every event, type and
// function, so a second run starts from a clean registry.
void RegisterBuiltins(BindingContext& context);

}  // namespace zun
