// Signature texts and identity records of native types.
#include "binding/static_type.h"

#include <cstdio>

#include "binding/fnv1a.h"

namespace zun {

namespace {

constexpr std::string_view kSignaturePrefix = "unsigned int __cdecl StaticType::HashCode<";
constexpr std::string_view kSignatureSuffix = ">(void)";

}  // namespace

void CloseTemplateArguments(std::string& text) {
  if (!text.empty() && text.back() == '>') {
    text += ' ';
  }
  text += '>';
}

std::string StaticTypeSignature(std::string_view spelling) {
  std::string signature;
  signature.reserve(kSignaturePrefix.size() + spelling.size() + kSignatureSuffix.size());
  signature.append(kSignaturePrefix).append(spelling).append(kSignatureSuffix);
  return signature;
}

uint32_t StaticTypeHashOfSpelling(std::string_view spelling) {
  const std::string signature = StaticTypeSignature(spelling);
  return Fnv1a32(signature.c_str());
}

bool StaticType::IsVoid(const StaticTypeId& identity) {
  return identity.hash == HashCode<void>();
}

namespace static_type_detail {

StaticTypeRecord::StaticTypeRecord(std::string_view spelling)
    : id_{StaticTypeHashOfSpelling(spelling), text_}, text_{} {
  std::snprintf(text_, sizeof text_, "#%08X", static_cast<unsigned>(id_.hash));
}

}  // namespace static_type_detail

}  // namespace zun
