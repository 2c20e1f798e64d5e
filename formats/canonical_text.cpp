// The canonical one-line rendering of a value tree.
#include "formats/canonical_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

namespace zun {
namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendQuoted(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out.push_back(kHex[byte >> 4]);
          out.push_back(kHex[byte & 0xF]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

void AppendBase64(std::string& out, std::span<const uint8_t> bytes) {
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group = (uint32_t{bytes[i]} << 16) | (uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
    out.push_back(kBase64Alphabet[(group >> 18) & 63]);
    out.push_back(kBase64Alphabet[(group >> 12) & 63]);
    out.push_back(kBase64Alphabet[(group >> 6) & 63]);
    out.push_back(kBase64Alphabet[group & 63]);
  }
  const size_t rest = bytes.size() - i;
  if (rest == 0) return;
  uint32_t group = uint32_t{bytes[i]} << 16;
  if (rest == 2) group |= uint32_t{bytes[i + 1]} << 8;
  out.push_back(kBase64Alphabet[(group >> 18) & 63]);
  out.push_back(kBase64Alphabet[(group >> 12) & 63]);
  out.push_back(rest == 2 ? kBase64Alphabet[(group >> 6) & 63] : '=');
  out.push_back('=');
}

void AppendFloat(std::string& out, double value) {
  if (std::isnan(value)) {
    out += "f:nan";
  } else if (std::isinf(value)) {
    out += value < 0 ? "f:-inf" : "f:inf";
  } else {
    char buffer[40];
    std::snprintf(buffer, sizeof(buffer), "f:%.17g", value);
    out += buffer;
  }
}

void AppendValue(std::string& out, const BindingProperty& value) {
  switch (value.Kind()) {
    case BindingKind::Empty: out += "null"; break;
    case BindingKind::Bool: out += value.GetBool() ? "true" : "false"; break;
    case BindingKind::Signed:
      out += "i:";
      out += std::to_string(value.GetSigned());
      break;
    case BindingKind::Unsigned:
      out += "u:";
      out += std::to_string(value.GetUnsigned());
      break;
    case BindingKind::Float: AppendFloat(out, value.GetFloat()); break;
    case BindingKind::String: AppendQuoted(out, value.GetString()); break;
    case BindingKind::Blob:
      out += "b:";
      AppendBase64(out, value.GetBlob());
      break;
    case BindingKind::Enum:
      out += "e:";
      out += std::to_string(value.GetEnum().value);
      break;
    case BindingKind::Collection: {
      out.push_back('[');
      bool first = true;
      for (const BindingProperty& element : value.Elements()) {
        if (!first) out.push_back(',');
        first = false;
        AppendValue(out, element);
      }
      out.push_back(']');
      break;
    }
    case BindingKind::Structure: {
      out.push_back('{');
      bool first = true;
      for (auto [name, member] : value.Members()) {
        if (!first) out.push_back(',');
        first = false;
        AppendQuoted(out, name);
        out.push_back(':');
        AppendValue(out, member);
      }
      out.push_back('}');
      break;
    }
  }
}

}  // namespace

std::string CanonicalText(const BindingProperty& value) {
  std::string out;
  AppendValue(out, value);
  return out;
}

}  // namespace zun
