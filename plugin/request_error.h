// The outcome of an outgoing request that failed, and the parameters that
// requests carry.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace zun {

struct RequestError {
  uint32_t status = 0;
  std::string message;
};

// Travel as one unnamed direct argument: a structure of string members.
using RequestParameters = std::map<std::string, std::string>;

// "message (status)"; how an error renders as a positional message argument.
[[nodiscard]] std::string ToText(const RequestError& error);
// "Success" when there is no error.
[[nodiscard]] std::string ToText(const std::optional<RequestError>& error);

}  // namespace zun
