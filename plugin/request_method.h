// The names of request method codes as outgoing requests print them.
#pragma once

#include <cstdint>

namespace zun {

inline constexpr uint32_t kRequestMethodPost = 6;
inline constexpr uint32_t kRequestMethodOther = 8;

// "DELETE", "GET", "HEAD", "OPTIONS", "PATCH", "POST", "PUT" for codes 1 to
// 7; the empty text for every other code.
[[nodiscard]] const char* RequestMethodName(uint32_t method);

// Codes 1 to 8 as they are; anything else becomes 0.
[[nodiscard]] uint32_t RequestMethodCode(uint32_t method);

}  // namespace zun
