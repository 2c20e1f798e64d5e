// Reaches the tokenizer's private stack and growth routine. An explicit
// instantiation may name private members; the friend function it defines is
// the only way in.
#include "formats/json_tokenizer_stack.h"

#include <cstddef>

namespace zun {
namespace {

using TokenizerStack = rapidjson::internal::Stack<rapidjson::CrtAllocator>;
using StackMember = TokenizerStack rapidjson::Reader::*;
using GrowFunction = void (TokenizerStack::*)(size_t);

template <StackMember kStack, GrowFunction kGrow>
struct TokenizerStackAccess {
  friend void GrowTokenizerStack(rapidjson::Reader& reader) { ((reader.*kStack).*kGrow)(1); }
};

void GrowTokenizerStack(rapidjson::Reader& reader);

template struct TokenizerStackAccess<&rapidjson::Reader::stack_, &TokenizerStack::Expand<char>>;

}  // namespace

void PrepareTokenizerStack(rapidjson::Reader& reader) { GrowTokenizerStack(reader); }

}  // namespace zun
