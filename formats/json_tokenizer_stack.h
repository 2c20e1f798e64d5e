// PrepareTokenizerStack: gives the tokenizer its scratch stack before parsing.
//
// The tokenizer creates that stack on its first push, and the capacity test
// of that first push adds an offset to the still-null stack pointer, which is
// undefined behaviour. Allocating the stack up front, through the stack's own
// growth routine, keeps every push on a real buffer.
#pragma once

#include "formats/rapidjson_config.h"

#include <rapidjson/reader.h>

namespace zun {

void PrepareTokenizerStack(rapidjson::Reader& reader);

}  // namespace zun
