// Base64 acceptance and decoding.
#include "binding/base64.h"

#include <array>
#include <cstddef>

namespace zun {

namespace {

constexpr uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<uint8_t, 256> MakeDecodeTable() {
  std::array<uint8_t, 256> table{};
  for (auto& entry : table) {
    entry = kNotInAlphabet;
  }
  constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (uint8_t index = 0; index < 64; ++index) {
    table[static_cast<uint8_t>(kAlphabet[index])] = index;
  }
  return table;
}

constexpr std::array<uint8_t, 256> kDecodeTable = MakeDecodeTable();

uint32_t SextetOf(char character) {
  const uint8_t sextet = kDecodeTable[static_cast<uint8_t>(character)];
  return sextet == kNotInAlphabet ? 0 : sextet;
}

}  // namespace

bool IsBase64Text(std::string_view text) {
  for (const char character : text) {
    if (character != '=' && kDecodeTable[static_cast<uint8_t>(character)] == kNotInAlphabet) {
      return false;
    }
  }
  return true;
}

std::vector<uint8_t> DecodeBase64(std::string_view text) {
  const size_t padding = text.find('=');
  if (padding != std::string_view::npos) {
    text = text.substr(0, padding);
  }
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3 + 2);
  size_t at = 0;
  for (; at + 4 <= text.size(); at += 4) {
    const uint32_t group = SextetOf(text[at]) << 18 | SextetOf(text[at + 1]) << 12 |
                           SextetOf(text[at + 2]) << 6 | SextetOf(text[at + 3]);
    bytes.push_back(static_cast<uint8_t>(group >> 16));
    bytes.push_back(static_cast<uint8_t>(group >> 8));
    bytes.push_back(static_cast<uint8_t>(group));
  }
  const size_t rest = text.size() - at;
  if (rest >= 2) {
    uint32_t group = SextetOf(text[at]) << 18 | SextetOf(text[at + 1]) << 12;
    if (rest == 3) {
      group |= SextetOf(text[at + 2]) << 6;
    }
    bytes.push_back(static_cast<uint8_t>(group >> 16));
    if (rest == 3) {
      bytes.push_back(static_cast<uint8_t>(group >> 8));
    }
  }
  return bytes;
}

}  // namespace zun
