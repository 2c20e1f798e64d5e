// Flat values to binding values and back, and their release.
#include "plugin/flat_value_conversion.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "binding/binding_context.h"
#include "binding/binding_property.h"
#include "diagnostics/format_text.h"
#include "diagnostics/framework_allocator.h"
#include "formats/nesting_limit.h"
#include "plugin/plugin_messages.h"

namespace zun {

namespace {

// Reserving follows the count only this far; a larger (possibly lying) count
// grows the container as elements are actually read.
constexpr size_t kMaxReservedElements = 4096;

// ---- flat to value -------------------------------------------------------

// The one failure funnel: the first message replaces the status's contents.
bool Fail(FlatStatus& status, const std::string& message) {
  ReleaseFlatStatus(status);
  status.errorText = FrameworkAllocator::DuplicateText(message.c_str());
  status.errorFlag = 1;
  return false;
}

class FlatReader {
 public:
  FlatReader(FlatStatus& status, std::string_view path) : status_(status), path_(path) {}

  bool Read(BindingProperty& target, const FlatValue& source, size_t depth) {
    const uint32_t kind = source.kind;
    switch (static_cast<FlatKind>(kind)) {
      case FlatKind::Empty:
        target.Reset();
        return true;
      case FlatKind::Bool:
        target.SetBool(source.payload.boolean != 0);
        return true;
      case FlatKind::Signed:
        target.SetSigned(source.payload.signedValue);
        return true;
      case FlatKind::Unsigned:
        target.SetUnsigned(source.payload.unsignedValue);
        return true;
      case FlatKind::Float:
        target.SetFloat(source.payload.floatValue);
        return true;
      case FlatKind::BorrowedString:
      case FlatKind::OwnedString:
        // The length word is not consulted: the text ends at its NUL.
        target.SetString(static_cast<const char*>(source.payload.span.data));
        return true;
      case FlatKind::BorrowedBlob:
      case FlatKind::OwnedBlob:
        return ReadBlob(target, source);
      case FlatKind::Collection:
        return ReadCollection(target, source, depth);
      case FlatKind::Structure:
        return ReadStructure(target, source, depth);
    }
    return Fail(status_, FormatText(messages::kFlatIncompatibleKind, path_, FlatKindName(kind)));
  }

 private:
  // A span must point somewhere when it has entries, and its bytes must be
  // addressable at all.
  bool CheckSpan(const FlatSpan& span, size_t entrySize, uint32_t kind) {
    if (span.count == 0) return true;
    if (span.data == nullptr) {
      return Fail(status_, FormatText(messages::kFlatNullEntries, path_, FlatKindName(kind), span.count));
    }
    if (span.count > std::numeric_limits<size_t>::max() / entrySize) {
      return Fail(status_, FormatText(messages::kFlatTooManyEntries, path_, FlatKindName(kind), span.count));
    }
    return true;
  }

  bool CheckDepth(size_t depth) {
    if (depth < kMaxNestingDepth) return true;
    return Fail(status_, FormatText(messages::kFlatTooDeep, path_, kMaxNestingDepth));
  }

  bool ReadBlob(BindingProperty& target, const FlatValue& source) {
    const FlatSpan span = source.payload.span;
    if (!CheckSpan(span, 1, source.kind)) return false;
    const auto* bytes = static_cast<const uint8_t*>(span.data);
    target.SetBlob(std::span<const uint8_t>(bytes, span.count));
    return true;
  }

  bool ReadCollection(BindingProperty& target, const FlatValue& source, size_t depth) {
    const FlatSpan span = source.payload.span;
    if (!CheckSpan(span, sizeof(FlatValue), source.kind) || !CheckDepth(depth)) return false;
    target.Reset();
    target.MakeCollection();
    target.Reserve(span.count < kMaxReservedElements ? span.count : kMaxReservedElements);
    const auto* elements = static_cast<const FlatValue*>(span.data);
    for (uint32_t i = 0; i < span.count; ++i) {
      if (!Read(target.Append(), elements[i], depth + 1)) return false;
    }
    return true;
  }

  bool ReadStructure(BindingProperty& target, const FlatValue& source, size_t depth) {
    const FlatSpan span = source.payload.span;
    if (!CheckSpan(span, sizeof(FlatField), source.kind) || !CheckDepth(depth)) return false;
    target.Reset();
    target.MakeStructure();
    const auto* fields = static_cast<const FlatField*>(span.data);
    for (uint32_t i = 0; i < span.count; ++i) {
      const char* name = fields[i].name;
      if (name == nullptr) return Fail(status_, FormatText(messages::kFlatUnnamedField, path_));
      if (!Read(target.Member(name), fields[i].value, depth + 1)) return false;
    }
    return true;
  }

  FlatStatus& status_;
  std::string_view path_;
};

// ---- value to flat -------------------------------------------------------

void SetSpan(FlatValue& target, FlatKind kind, const void* data, size_t count) {
  target.kind = static_cast<uint32_t>(kind);
  target.payload.span.data = data;
  target.payload.span.count = static_cast<uint32_t>(count);
}

// A copy in framework memory; an empty run needs no block.
void* CopyBytes(const void* bytes, size_t size, size_t extra) {
  if (size + extra == 0) return nullptr;
  void* block = FrameworkAllocator::Allocate(size + extra);
  if (block == nullptr) return nullptr;
  if (size != 0) std::memcpy(block, bytes, size);
  if (extra != 0) std::memset(static_cast<char*>(block) + size, 0, extra);
  return block;
}

void* AllocateZeroed(size_t size) {
  if (size == 0) return nullptr;
  void* block = FrameworkAllocator::Allocate(size);
  if (block != nullptr) std::memset(block, 0, size);
  return block;
}

void WriteString(FlatValue& target, std::string_view text) {
  void* copy = CopyBytes(text.data(), text.size(), 1);
  if (copy == nullptr) return;  // refused memory leaves the value empty
  SetSpan(target, FlatKind::OwnedString, copy, text.size());
}

void WriteEnum(FlatValue& target, const BindingEnumPayload& payload, const BindingContext* context) {
  if (context != nullptr && payload.type != nullptr) {
    const BindingTypeInfo* type = context->FindType(*payload.type);
    const BindingEnumValue* enumerator =
        type != nullptr && type->isEnum ? type->FindEnumValue(payload.value) : nullptr;
    if (enumerator != nullptr) {
      WriteString(target, enumerator->name);
      return;
    }
  }
  target.kind = static_cast<uint32_t>(FlatKind::Signed);
  target.payload.signedValue = payload.value;
}

void WriteValue(FlatValue& target, const BindingProperty& source, const BindingContext* context);

void WriteCollection(FlatValue& target, const BindingProperty& source, const BindingContext* context) {
  const auto elements = source.Elements();
  auto* array = static_cast<FlatValue*>(AllocateZeroed(elements.size() * sizeof(FlatValue)));
  if (array == nullptr && !elements.empty()) return;
  SetSpan(target, FlatKind::Collection, array, elements.size());
  for (size_t i = 0; i < elements.size(); ++i) WriteValue(array[i], elements[i], context);
}

void WriteStructure(FlatValue& target, const BindingProperty& source, const BindingContext* context) {
  const size_t count = source.Size();
  auto* array = static_cast<FlatField*>(AllocateZeroed(count * sizeof(FlatField)));
  if (array == nullptr && count != 0) return;
  SetSpan(target, FlatKind::Structure, array, count);
  size_t i = 0;
  for (const auto& [name, value] : source.Members()) {
    array[i].name = static_cast<const char*>(CopyBytes(name.data(), name.size(), 1));
    array[i].ownsName = 1;
    WriteValue(array[i].value, value, context);
    ++i;
  }
}

void WriteValue(FlatValue& target, const BindingProperty& source, const BindingContext* context) {
  switch (source.Kind()) {
    case BindingKind::Empty:
      return;
    case BindingKind::Bool:
      target.kind = static_cast<uint32_t>(FlatKind::Bool);
      target.payload.boolean = source.GetBool() ? 1 : 0;
      return;
    case BindingKind::Signed:
      target.kind = static_cast<uint32_t>(FlatKind::Signed);
      target.payload.signedValue = source.GetSigned();
      return;
    case BindingKind::Unsigned:
      target.kind = static_cast<uint32_t>(FlatKind::Unsigned);
      target.payload.unsignedValue = source.GetUnsigned();
      return;
    case BindingKind::Float:
      target.kind = static_cast<uint32_t>(FlatKind::Float);
      target.payload.floatValue = source.GetFloat();
      return;
    case BindingKind::String:
      WriteString(target, source.GetString());
      return;
    case BindingKind::Blob: {
      const auto bytes = source.GetBlob();
      void* copy = CopyBytes(bytes.data(), bytes.size(), 0);
      if (copy != nullptr || bytes.empty()) SetSpan(target, FlatKind::OwnedBlob, copy, bytes.size());
      return;
    }
    case BindingKind::Enum:
      WriteEnum(target, source.GetEnum(), context);
      return;
    case BindingKind::Collection:
      WriteCollection(target, source, context);
      return;
    case BindingKind::Structure:
      WriteStructure(target, source, context);
      return;
  }
}

void ReleaseFields(FlatField* fields, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (fields[i].ownsName == 1) FrameworkAllocator::Free(const_cast<char*>(fields[i].name));
    ReleaseFlatValue(fields[i].value);
  }
}

}  // namespace

const char* FlatKindName(uint32_t kind) {
  switch (static_cast<FlatKind>(kind)) {
    case FlatKind::Bool:
      return "bool";
    case FlatKind::Signed:
      return "signed";
    case FlatKind::Unsigned:
      return "unsigned";
    case FlatKind::Float:
      return "float";
    case FlatKind::BorrowedString:
    case FlatKind::OwnedString:
      return "string";
    case FlatKind::BorrowedBlob:
    case FlatKind::OwnedBlob:
      return "blob";
    case FlatKind::Collection:
      return "collection";
    case FlatKind::Structure:
      return "structure";
    case FlatKind::Empty:
      break;
  }
  return "";
}

bool FlatToValue(FlatStatus& status, BindingProperty& target, const FlatValue& source, std::string_view path) {
  FlatReader reader(status, path);
  return reader.Read(target, source, 0);
}

bool ValueToFlat(FlatValue& target, const BindingProperty& source, const BindingContext* context) {
  // Releasing first also for an empty source: an owned payload left behind
  // a zero kind word would never be freed.
  ReleaseFlatValue(target);
  WriteValue(target, source, context);
  return true;
}

void ReleaseFlatValue(FlatValue& value) {
  const FlatSpan span = value.payload.span;
  switch (static_cast<FlatKind>(value.kind)) {
    case FlatKind::OwnedString:
    case FlatKind::OwnedBlob:
      FrameworkAllocator::Free(const_cast<void*>(span.data));
      break;
    case FlatKind::Collection: {
      auto* elements = static_cast<FlatValue*>(const_cast<void*>(span.data));
      for (uint32_t i = 0; elements != nullptr && i < span.count; ++i) ReleaseFlatValue(elements[i]);
      FrameworkAllocator::Free(elements);
      break;
    }
    case FlatKind::Structure: {
      auto* fields = static_cast<FlatField*>(const_cast<void*>(span.data));
      if (fields != nullptr) ReleaseFields(fields, span.count);
      FrameworkAllocator::Free(fields);
      break;
    }
    default:
      break;
  }
  value = EmptyFlatValue();
}

void ReleaseFlatStatus(FlatStatus& status) {
  ReleaseFlatValue(status.value);
  FrameworkAllocator::Free(status.errorText);
  status.errorText = nullptr;
  status.errorFlag = 0;
}

}  // namespace zun
