// Keeps negative exponents with huge values away from the tokenizer, whose
// integer arithmetic on them overflows (a number such as 1.00000000001e-2147483638).
//
// Every such number is 0 (or -0): no double is small enough to tell them
// apart. So each exponent whose value exceeds kLargestSafeNegativeExponent is
// rewritten, in a copy of the text, to an equally long exponent of that
// largest safe value. The number keeps its value and every byte keeps its
// offset, so the tokenizer's results and error offsets stay the same.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zun {

// Far below the least exponent of a double, far above what any fraction
// length could bring near the overflow.
inline constexpr uint32_t kLargestSafeNegativeExponent = 99999999;

// A copy of the NUL-terminated `text` with every dangerous exponent rewritten,
// or nothing when the text holds none (the common case, found by a quick scan).
[[nodiscard]] std::optional<std::string> RewriteHugeNegativeExponents(const char* text);

}  // namespace zun
