// Fuzz target of the JSON reader: the input as a NUL-terminated text, plus
// the sniffer; a value must render, a failure must carry a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/canonical_text.h"
#include "formats/json_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)zun::LooksLikeJson(text.c_str());
  const zun::BindingResult result = zun::DeserializeJson(text.c_str());
  if (result.Ok()) {
    if (zun::CanonicalText(result.Value()).empty()) std::abort();
  } else if (!result.ErrorMessage().starts_with("Error: ")) {
    std::abort();
  }
  return 0;
}
