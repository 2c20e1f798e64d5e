// DeserializeMessagePack: one pass over the buffer with an explicit stack of
// open containers, so that nesting never recurses.
#include "formats/msgpack_reader.h"

#include <bit>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "formats/msgpack_messages.h"
#include "formats/msgpack_type_class.h"
#include "formats/nesting_limit.h"

namespace zun {
namespace {

using TypeClass = MessagePackTypeClass;

// One load and a byte swap rather than a byte at a time: numbers fill most
// of a document of measurements.
template <uint32_t kWidth>
uint64_t BigEndian(const uint8_t* bytes) {
  if constexpr (kWidth == 1) {
    return bytes[0];
  } else {
    using Word = std::conditional_t<kWidth == 2, uint16_t, std::conditional_t<kWidth == 4, uint32_t, uint64_t>>;
    static_assert(sizeof(Word) == kWidth);
    Word word;
    std::memcpy(&word, bytes, kWidth);
    if constexpr (std::endian::native == std::endian::little) {
      if constexpr (kWidth == 2) word = __builtin_bswap16(word);
      if constexpr (kWidth == 4) word = __builtin_bswap32(word);
      if constexpr (kWidth == 8) word = __builtin_bswap64(word);
    }
    return word;
  }
}

constexpr size_t kInitialFrames = 16;

// An open container. It stays on the stack while its items are read;
// `count` counts a map's keys and values separately.
struct Frame {
  Frame(BindingProperty* value, uint64_t items, bool map) : target(value), count(items), isMap(map) {}

  BindingProperty* target;
  uint64_t count;
  uint64_t index = 0;
  bool isMap;                   // kept here so choosing an item reads no value
  std::string_view pendingKey;  // bytes of the input buffer
};

class MessagePackReader {
 public:
  MessagePackReader(const uint8_t* data, uint32_t size) : data_(data), size_(size) {
    frames_.reserve(kInitialFrames);
  }

  MessagePackReadResult Run() {
    if (position_ < size_) ReadValue(data_[position_++], result_.Value());
    while (ok_ && position_ < size_ && !frames_.empty()) ReadItem();
    return MessagePackReadResult{std::move(result_), position_};
  }

 private:
  // Reads the next item of the innermost open container, or closes it when
  // it is complete. A map's even items are keys, kept as its pending key.
  void ReadItem() {
    Frame& top = frames_.back();
    if (top.index == top.count) {
      frames_.pop_back();
      return;
    }
    const uint64_t item = top.index++;
    const uint8_t type = data_[position_++];
    // The target is found before reading: a container read into it pushes
    // a frame, which may move `top`.
    if (!top.isMap) {
      ReadValue(type, top.target->Element(static_cast<size_t>(item)));
    } else if (item % 2 == 0) {
      ReadKey(type, top);
    } else {
      ReadValue(type, top.target->Member(top.pendingKey));
    }
  }

  void ReadKey(uint8_t type, Frame& frame) {
    uint64_t length = 0;
    switch (kMessagePackTypeClasses[type]) {
      case TypeClass::FixStr: length = type & 0x1Fu; break;
      case TypeClass::Str8: if (!ReadNumber<1>(length)) return; break;
      case TypeClass::Str16: if (!ReadNumber<2>(length)) return; break;
      case TypeClass::Str32: if (!ReadNumber<4>(length)) return; break;
      default: Fail(FormatText(kMessagePackKeyNotString, position_)); return;
    }
    if (const char* bytes = TakeBytes(length, kMessagePackStringTruncated)) {
      frame.pendingKey = std::string_view(bytes, static_cast<size_t>(length));
    }
  }

  void ReadValue(uint8_t type, BindingProperty& target) {
    uint64_t number = 0;
    switch (kMessagePackTypeClasses[type]) {
      case TypeClass::Invalid: Fail(FormatText(kMessagePackInvalidType, position_)); return;
      case TypeClass::PositiveFixint: target.SetSigned(type); break;
      case TypeClass::NegativeFixint: target.SetSigned(static_cast<int8_t>(type)); break;
      case TypeClass::Nil: break;
      case TypeClass::False: target.SetBool(false); break;
      case TypeClass::True: target.SetBool(true); break;
      case TypeClass::FixStr: ReadString(type & 0x1Fu, target); break;
      case TypeClass::Str8: if (ReadNumber<1>(number)) ReadString(number, target); break;
      case TypeClass::Str16: if (ReadNumber<2>(number)) ReadString(number, target); break;
      case TypeClass::Str32: if (ReadNumber<4>(number)) ReadString(number, target); break;
      case TypeClass::Bin8: if (ReadNumber<1>(number)) ReadBlob(number, target); break;
      case TypeClass::Bin16: if (ReadNumber<2>(number)) ReadBlob(number, target); break;
      case TypeClass::Bin32: if (ReadNumber<4>(number)) ReadBlob(number, target); break;
      case TypeClass::Float32:
        if (ReadNumber<4>(number)) {
          float value;
          const auto bits = static_cast<uint32_t>(number);
          std::memcpy(&value, &bits, sizeof(value));
          target.SetFloat(value);
        }
        break;
      case TypeClass::Float64:
        if (ReadNumber<8>(number)) {
          double value;
          std::memcpy(&value, &number, sizeof(value));
          target.SetFloat(value);
        }
        break;
      case TypeClass::Uint8: if (ReadNumber<1>(number)) target.SetUnsigned(number); break;
      case TypeClass::Uint16: if (ReadNumber<2>(number)) target.SetUnsigned(number); break;
      case TypeClass::Uint32: if (ReadNumber<4>(number)) target.SetUnsigned(number); break;
      case TypeClass::Uint64: if (ReadNumber<8>(number)) target.SetUnsigned(number); break;
      case TypeClass::Int8: if (ReadNumber<1>(number)) target.SetSigned(static_cast<int8_t>(number)); break;
      case TypeClass::Int16: if (ReadNumber<2>(number)) target.SetSigned(static_cast<int16_t>(number)); break;
      case TypeClass::Int32: if (ReadNumber<4>(number)) target.SetSigned(static_cast<int32_t>(number)); break;
      case TypeClass::Int64: if (ReadNumber<8>(number)) target.SetSigned(static_cast<int64_t>(number)); break;
      case TypeClass::FixArray: OpenArray(type & 0x0Fu, target); break;
      case TypeClass::Array16: if (ReadNumber<2>(number)) OpenArray(number, target); break;
      case TypeClass::Array32: if (ReadNumber<4>(number)) OpenArray(number, target); break;
      case TypeClass::FixMap: OpenMap(type & 0x0Fu, target); break;
      case TypeClass::Map16: if (ReadNumber<2>(number)) OpenMap(number, target); break;
      case TypeClass::Map32: if (ReadNumber<4>(number)) OpenMap(number, target); break;
    }
  }

  void OpenArray(uint64_t elements, BindingProperty& target) {
    if (!CheckDepth()) return;
    // A declared count may lie, so nothing is reserved from it: the
    // collection grows with the elements actually read.
    target.MakeCollection();
    frames_.emplace_back(&target, elements, /*map=*/false);
  }

  void OpenMap(uint64_t entries, BindingProperty& target) {
    if (!CheckDepth()) return;
    target.MakeStructure();
    frames_.emplace_back(&target, entries * 2, /*map=*/true);
  }

  // The container about to open would be the innermost of frames_.size() + 1.
  bool CheckDepth() {
    if (frames_.size() < kMaxNestingDepth) return true;
    Fail(FormatText(kMessagePackTooDeep, position_, kMaxNestingDepth));
    return false;
  }

  void ReadString(uint64_t length, BindingProperty& target) {
    if (const char* bytes = TakeBytes(length, kMessagePackStringTruncated)) {
      target.SetString(std::string_view(bytes, static_cast<size_t>(length)));
    }
  }

  void ReadBlob(uint64_t length, BindingProperty& target) {
    if (const char* bytes = TakeBytes(length, kMessagePackBlobTruncated)) {
      const auto* first = reinterpret_cast<const uint8_t*>(bytes);
      target.SetBlob(std::span<const uint8_t>(first, static_cast<size_t>(length)));
    }
  }

  // The next `length` bytes, or null after failing with `truncatedFormat`
  // when fewer remain.
  const char* TakeBytes(uint64_t length, const char* truncatedFormat) {
    if (length > size_ - position_) {
      Fail(FormatText(truncatedFormat, length, position_));
      return nullptr;
    }
    const char* bytes = reinterpret_cast<const char*>(data_ + position_);
    position_ += static_cast<uint32_t>(length);
    return bytes;
  }

  // A big-endian number of kWidth bytes (1, 2, 4 or 8).
  template <uint32_t kWidth>
  bool ReadNumber(uint64_t& number) {
    if (size_ - position_ < kWidth) {
      FailTruncated(kWidth);
      return false;
    }
    number = BigEndian<kWidth>(data_ + position_);
    position_ += kWidth;
    return true;
  }

  [[gnu::noinline]] void FailTruncated(uint32_t width) {
    const char* format = kMessagePackTruncated64;
    switch (width) {
      case 1: format = kMessagePackTruncated8; break;
      case 2: format = kMessagePackTruncated16; break;
      case 4: format = kMessagePackTruncated32; break;
      default: break;
    }
    Fail(FormatText(format, position_));
  }

  void Fail(const std::string& message) {
    ok_ = false;
    result_.SetError(message);
  }

  const uint8_t* data_;
  uint32_t size_;
  uint32_t position_ = 0;
  BindingResult result_;
  bool ok_ = true;
  std::vector<Frame> frames_;
};

}  // namespace

MessagePackReadResult DeserializeMessagePack(const uint8_t* data, uint32_t size) {
  if (data == nullptr) size = 0;
  return MessagePackReader(data, size).Run();
}

bool LooksLikeMessagePack(const uint8_t* data, uint32_t size) {
  if (data == nullptr || size == 0) return false;
  return (data[0] >= 0x80 && data[0] <= 0x9F) || (data[0] >= 0xDC && data[0] <= 0xDF);
}

}  // namespace zun
