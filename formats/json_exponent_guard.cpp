// The scans behind RewriteHugeNegativeExponents.
#include "formats/json_exponent_guard.h"

#include <cstddef>
#include <cstring>

namespace zun {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The end of the exponent digits that follow the minus sign at `minus`, when
// that sign follows "<digit>e" or "<digit>E" and the digits give a value above
// the safe one; otherwise null. Says nothing about whether the bytes lie
// inside a string.
const char* HugeExponentEnd(const char* text, const char* minus) {
  if (minus - text < 2 || (minus[-1] != 'e' && minus[-1] != 'E') || !IsDigit(minus[-2])) {
    return nullptr;
  }
  uint64_t value = 0;
  const char* end = minus + 1;
  for (; IsDigit(*end); ++end) {
    if (value <= kLargestSafeNegativeExponent) value = value * 10 + static_cast<uint64_t>(*end - '0');
  }
  return value > kLargestSafeNegativeExponent ? end : nullptr;
}

// True when an "e-" or "E-" from `from` on begins a huge negative exponent.
bool PairBeginsHugeExponent(const char* text, const char* from, const char* pair) {
  for (const char* at = std::strstr(from, pair); at != nullptr; at = std::strstr(at + 1, pair)) {
    if (HugeExponentEnd(text, at + 1) != nullptr) return true;
  }
  return false;
}

// Minus signs looked at one by one before the quick test switches to
// searching for "e-" and "E-".
constexpr int kMinusSignsBeforePairSearch = 64;

// True when some minus sign of the text could begin a huge negative exponent,
// strings included: a quick test that lets almost every text through untouched.
// Jumping from one minus sign to the next is fastest where they are few;
// where they are many (lists of negative numbers), searching for the two
// bytes that precede and make an exponent's sign skips them all at once.
bool MayHoldHugeExponent(const char* text) {
  const char* minus = std::strchr(text, '-');
  for (int seen = 0; minus != nullptr && seen < kMinusSignsBeforePairSearch; ++seen) {
    if (HugeExponentEnd(text, minus) != nullptr) return true;
    minus = std::strchr(minus + 1, '-');
  }
  if (minus == nullptr) return false;
  // No pair that the searches below find from `minus` on ends at `minus` itself.
  if (HugeExponentEnd(text, minus) != nullptr) return true;
  return PairBeginsHugeExponent(text, minus, "e-") || PairBeginsHugeExponent(text, minus, "E-");
}

// Writes the safe exponent, padded with leading zeros, over the digits
// between `first` and `end`; they are more digits than it needs.
void WriteSafeExponent(char* first, char* end) {
  uint32_t value = kLargestSafeNegativeExponent;
  while (end != first) {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

std::optional<std::string> RewriteHugeNegativeExponents(const char* text) {
  if (!MayHoldHugeExponent(text)) return std::nullopt;
  std::string copy(text);
  char* const begin = copy.data();
  bool inString = false;
  for (char* at = begin; *at != '\0'; ++at) {
    if (inString) {
      if (*at == '\\' && at[1] != '\0') {
        ++at;
      } else if (*at == '"') {
        inString = false;
      }
    } else if (*at == '"') {
      inString = true;
    } else if (*at == '-') {
      if (const char* end = HugeExponentEnd(begin, at)) {
        char* digitsEnd = begin + (end - begin);
        WriteSafeExponent(at + 1, digitsEnd);
        at = digitsEnd - 1;
      }
    }
  }
  return copy;
}

}  // namespace zun
