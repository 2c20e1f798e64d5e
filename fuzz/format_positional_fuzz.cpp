// Fuzz target of the positional formatter: arbitrary formats with arguments of
// every kind, rendered into exact-size heap buffers of a small and a large capacity.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/format_positional.h"

namespace {

constexpr size_t kMaxArguments = 5;
constexpr size_t kLargeCapacity = 4096;

// Reads the input front to back; missing bytes read as zero.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  uint64_t Word() {
    uint64_t word = 0;
    for (int i = 0; i < 8; ++i) word = (word << 8) | Byte();
    return word;
  }
  std::string Bytes(size_t count) {
    std::string text;
    while (count-- > 0 && offset_ < size_) text.push_back(static_cast<char>(data_[offset_++]));
    return text;
  }
  std::string Rest() { return Bytes(size_ - offset_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};

// Argument values live here so their addresses stay put while formatting.
struct Arguments {
  int32_t signed32[kMaxArguments] = {};
  uint32_t unsigned32[kMaxArguments] = {};
  int64_t signed64[kMaxArguments] = {};
  uint64_t unsigned64[kMaxArguments] = {};
  double real[kMaxArguments] = {};
  std::string text[kMaxArguments];
  zun::FormatArgument kinds[kMaxArguments];
  const void* values[kMaxArguments] = {};
  size_t count = 0;

  void Add(Input& input) {
    const size_t i = count++;
    switch (input.Byte() % 7) {
      case 0: signed32[i] = static_cast<int32_t>(input.Word()); Set(i, zun::format_kinds::kSigned32, &signed32[i]); break;
      case 1: unsigned32[i] = static_cast<uint32_t>(input.Word()); Set(i, zun::format_kinds::kUnsigned32, &unsigned32[i]); break;
      case 2: signed64[i] = static_cast<int64_t>(input.Word()); Set(i, zun::format_kinds::kSigned64, &signed64[i]); break;
      case 3: unsigned64[i] = input.Word(); Set(i, zun::format_kinds::kUnsigned64, &unsigned64[i]); break;
      case 4: {
        const uint64_t bits = input.Word();
        std::memcpy(&real[i], &bits, sizeof bits);
        Set(i, zun::format_kinds::kDouble, &real[i]);
        break;
      }
      case 5: text[i] = input.Bytes(input.Byte() % 32); Set(i, zun::format_kinds::kString, &text[i]); break;
      default: text[i] = input.Bytes(input.Byte() % 32); Set(i, zun::format_kinds::kCString, text[i].c_str()); break;
    }
  }

  void Set(size_t i, const zun::FormatArgument& kind, const void* value) {
    kinds[i] = kind;
    values[i] = value;
  }
};

// Renders into a buffer of exactly `capacity` bytes, so any write past it is caught.
std::string Render(size_t capacity, const std::string& format, const Arguments& arguments) {
  char* buffer = static_cast<char*>(std::malloc(capacity));
  const size_t length = zun::FormatPositional(buffer, capacity, format.c_str(), arguments.kinds,
                                              arguments.values, arguments.count);
  if (length >= capacity || buffer[length] != '\0') std::abort();
  std::string text(buffer, length);
  std::free(buffer);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  const uint8_t header = input.Byte();
  const size_t smallCapacity = 1 + input.Byte() % 64;
  Arguments arguments;
  for (size_t n = header % (kMaxArguments + 1); n > 0; --n) arguments.Add(input);
  const std::string format = input.Rest();  // cut at its first NUL, as a C string

  const std::string large = Render(kLargeCapacity, format, arguments);
  const std::string small = Render(smallCapacity, format, arguments);
  // A smaller buffer only cuts the text: it never changes a character that fits.
  if (small.size() != std::min(large.size(), smallCapacity - 1)) std::abort();
  if (large.compare(0, small.size(), small) != 0) std::abort();
  return 0;
}
