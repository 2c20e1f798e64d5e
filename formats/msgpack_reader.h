// The MessagePack reader: the first value of a byte buffer to a value tree,
// and the sniffer that recognises an argument text as MessagePack.
// Extension types are not supported.
#pragma once

#include <cstdint>

#include "binding/binding_result.h"

namespace zun {

struct MessagePackReadResult {
  BindingResult result;
  // Bytes read, also on failure; bytes after the first value are not read.
  uint32_t consumed = 0;
};

// Reads one value from the front of `data`. An empty buffer gives an ok,
// Empty result. The end of the buffer inside a container is no error: the
// container keeps what was read. Map keys must be strings; strings keep the
// bytes before their first NUL. Nesting deeper than kMaxNestingDepth fails.
[[nodiscard]] MessagePackReadResult DeserializeMessagePack(const uint8_t* data, uint32_t size);

// True when the first byte is a map or array header (0x80-0x9F, 0xDC-0xDF).
[[nodiscard]] bool LooksLikeMessagePack(const uint8_t* data, uint32_t size);

}  // namespace zun
