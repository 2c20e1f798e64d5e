// Feeds arbitrary bytes to the YAML reader: whatever the text, it returns a
// value or a message, within bounded memory and depth.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/yaml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zun::BindingResult result = zun::DeserializeYaml(text);
  if (!result.Ok() && result.ErrorMessage().empty()) __builtin_trap();  // a failure always says why
  return 0;
}
