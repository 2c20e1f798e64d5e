// Fuzz target of the MessagePack reader: the input as a body; the bytes read
// never exceed the input, a value must render, a failure must carry a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "formats/canonical_text.h"
#include "formats/msgpack_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto count = static_cast<uint32_t>(size);
  (void)zun::LooksLikeMessagePack(data, count);
  const zun::MessagePackReadResult read = zun::DeserializeMessagePack(data, count);
  if (read.consumed > count) std::abort();
  if (read.result.Ok()) {
    if (zun::CanonicalText(read.result.Value()).empty()) std::abort();
  } else if (!read.result.ErrorMessage().starts_with("Invalid MessagePack data")) {
    std::abort();
  }
  return 0;
}
