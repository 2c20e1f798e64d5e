// Base64 with the standard alphabet: the acceptance test that blob members
// apply to texts, and the decoder.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zun {

// True when every character is A-Z, a-z, 0-9, "+", "/" or "=". Placement of
// "=" is not checked: decoding stops at the first one.
[[nodiscard]] bool IsBase64Text(std::string_view text);

// Decodes up to the first "=" (or the end). Each full group of four
// characters gives three bytes, a final group of two or three gives one or
// two, a final single character gives nothing. Characters outside the
// alphabet count as zero bits; check with IsBase64Text first.
[[nodiscard]] std::vector<uint8_t> DecodeBase64(std::string_view text);

}  // namespace zun
