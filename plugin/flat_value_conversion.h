// Converting between flat values and binding values, and releasing flat
// values. Flat values that come from the core are outside input: malformed
// ones (null arrays with entries, impossible counts, unnamed fields, nesting
// deeper than the readers accept) fail with a message, never a crash.
#pragma once

#include <string_view>

#include "plugin/flat_value.h"

namespace zun {

class BindingContext;
class BindingProperty;

// The name messages print for a flat kind: "bool", "signed", "unsigned",
// "float", "string" (5, 6), "blob" (7, 8), "collection", "structure", and ""
// for every other kind, the empty kind included.
[[nodiscard]] const char* FlatKindName(uint32_t kind);

// Fills `target` from `source`; `path` names the value in messages. On
// failure the status's value is released, its error text (framework memory,
// released by ReleaseFlatStatus) holds the message, its flag is 1 and the
// result is false. Elements and members converted before a failure stay in
// `target`.
[[nodiscard]] bool FlatToValue(FlatStatus& status, BindingProperty& target, const FlatValue& source,
                               std::string_view path);

// Fills `target` from `source`, releasing what `target` held first. Strings
// and blobs are copied into owned kinds 6 and 8. An enum becomes the name of
// its enumerator (kind 6) when `context` knows its type and value, otherwise
// kind 2 with the value sign-extended. Always true.
bool ValueToFlat(FlatValue& target, const BindingProperty& source, const BindingContext* context);

// Frees what `value` owns (recursively) and leaves it all zero. Borrowed
// kinds 5 and 7 free nothing.
void ReleaseFlatValue(FlatValue& value);

// Releases the status's value and error text and clears the flag.
void ReleaseFlatStatus(FlatStatus& status);

}  // namespace zun
