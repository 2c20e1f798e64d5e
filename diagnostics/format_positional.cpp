// The positional message formatter: placeholder parsing, the formatting loop and
// the render routines of the built-in argument kinds.
#include "diagnostics/format_positional.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace zun {
namespace {

constexpr std::string_view kFlagCharacters = "-+ #0";
constexpr std::string_view kNullText = "(null)";
// Numbers in a format saturate here; any larger width already covers a whole buffer.
constexpr int64_t kNumberCeiling = int64_t{1} << 40;
// An argument number that can never be valid (a `*0$`).
constexpr uint64_t kInvalidArgument = UINT64_MAX;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int64_t ReadNumber(const char*& cursor) {
  int64_t number = 0;
  while (IsDigit(*cursor)) {
    number = std::min<int64_t>(number * 10 + (*cursor - '0'), kNumberCeiling);
    ++cursor;
  }
  return number;
}

// ---------------------------------------------------------------------------
// Parsing a placeholder into the context's specification text.

// Argument numbers a placeholder refers to; 0 means "none".
struct PlaceholderReferences {
  uint64_t argument = 0;
  uint64_t widthArgument = 0;
  uint64_t precisionArgument = 0;
};

class PlaceholderParser {
 public:
  PlaceholderParser(FormatContext& context, size_t count, uint64_t& counter)
      : context_(context), count_(count), counter_(counter) {}

  // `cursor` is on the '%'; on success it is left after the placeholder.
  [[nodiscard]] bool Parse(const char*& cursor, PlaceholderReferences& references) {
    cursor_ = cursor;
    ++cursor_;
    context_.spec[0] = '%';
    context_.spec[1] = '\0';
    context_.specLength = 1;
    if (*cursor_ >= '1' && *cursor_ <= '9') {
      const char* afterPercent = cursor_;
      const auto number = static_cast<uint64_t>(ReadNumber(cursor_));
      if (number <= count_) {
        references.argument = number;
        if (*cursor_ != '$') {  // bare placeholder: what follows is ordinary text
          cursor = cursor_;
          return true;
        }
        ++cursor_;
      } else {
        cursor_ = afterPercent;  // too large for an argument: read the digits as a width
      }
    }
    if (!ParsePrintfPart(references)) return false;
    cursor = cursor_;
    return true;
  }

 private:
  [[nodiscard]] bool Append(char c) {
    if (context_.specLength + 1 >= kFormatSpecLimit) return false;
    context_.spec[context_.specLength++] = c;
    context_.spec[context_.specLength] = '\0';
    return true;
  }

  [[nodiscard]] bool ParsePrintfPart(PlaceholderReferences& references) {
    while (*cursor_ != '\0' && kFlagCharacters.find(*cursor_) != std::string_view::npos) {
      if (!Append(*cursor_++)) return false;
    }
    if (!ParseAmount(references.widthArgument)) return false;
    if (*cursor_ == '.') {
      if (!Append(*cursor_++)) return false;
      if (*cursor_ == '-') ++cursor_;
      if (!ParseAmount(references.precisionArgument)) return false;
    }
    if (!ParseLengthModifier()) return false;
    if (*cursor_ != '\0' && !Append(*cursor_++)) return false;
    if (references.argument == 0) references.argument = counter_++;
    return true;
  }

  // A width or precision: `*`, `*N$` or a run of digits.
  [[nodiscard]] bool ParseAmount(uint64_t& starArgument) {
    if (*cursor_ != '*') {
      while (IsDigit(*cursor_)) {
        if (!Append(*cursor_++)) return false;
      }
      return true;
    }
    if (!Append(*cursor_++)) return false;
    const char* digits = cursor_;
    const auto number = static_cast<uint64_t>(ReadNumber(cursor_));
    if (cursor_ != digits && *cursor_ == '$') {
      ++cursor_;
      starArgument = number == 0 ? kInvalidArgument : number;
    } else {
      starArgument = counter_++;  // digits without a '$' are dropped
    }
    return true;
  }

  [[nodiscard]] bool ParseLengthModifier() {
    const char first = *cursor_;
    if (first == 'L' || first == 'j' || first == 't' || first == 'z') return Append(*cursor_++);
    if (first != 'h' && first != 'l') return true;
    if (!Append(*cursor_++)) return false;
    if (*cursor_ == first) return Append(*cursor_++);
    return true;
  }

  FormatContext& context_;
  size_t count_;
  uint64_t& counter_;
  const char* cursor_ = nullptr;
};

// ---------------------------------------------------------------------------
// Settling the specification for a kind and reading it back.

struct KindRules {
  const char* allowed;
  char defaultConversion;
  const char* modifier;
};

constexpr KindRules kSigned32Rules{"dciouxX", 'd', ""};
constexpr KindRules kUnsigned32Rules{"ucdioxX", 'u', ""};
constexpr KindRules kSigned64Rules{"dciouxX", 'd', "ll"};
constexpr KindRules kUnsigned64Rules{"ucdioxX", 'u', "ll"};
constexpr KindRules kDoubleRules{"gaefGAEF", 'g', ""};
constexpr KindRules kTextRules{"s", 's', ""};

// Gives a bare placeholder the kind's modifier and default conversion and replaces
// a conversion the kind does not accept. Returns false for an `n` conversion, which
// writes nothing.
[[nodiscard]] bool SettleSpec(FormatContext& context, const KindRules& rules) {
  context.allowedConversions = rules.allowed;
  context.modifier = rules.modifier;
  if (context.specLength <= 1) {
    const size_t modifierLength = std::strlen(rules.modifier);
    std::memcpy(context.spec + 1, rules.modifier, modifierLength);
    context.specLength = 1 + modifierLength;
    context.spec[context.specLength++] = rules.defaultConversion;
    context.spec[context.specLength] = '\0';
  } else {
    char& last = context.spec[context.specLength - 1];
    if (last == 'n') {
      context.specLength = 0;
      context.spec[0] = '\0';
      context.conversion = 'n';
      return false;
    }
    if (std::strchr(rules.allowed, last) == nullptr) last = rules.defaultConversion;
  }
  context.conversion = context.spec[context.specLength - 1];
  return true;
}

enum class LengthModifier { kNone, kChar, kShort, kLong, kLongLong, kIntMax, kSize, kPtrDiff };

// A settled specification with the `*` integers resolved.
struct PrintfSpec {
  bool leftAlign = false;
  bool plusSign = false;
  bool spaceSign = false;
  bool alternate = false;
  bool zeroPad = false;
  bool hasWidth = false;
  int64_t width = 0;
  bool hasPrecision = false;
  int64_t precision = 0;
  LengthModifier modifier = LengthModifier::kNone;
  char conversion = '\0';
};

void ReadFlags(const char*& cursor, PrintfSpec& spec) {
  for (;; ++cursor) {
    switch (*cursor) {
      case '-': spec.leftAlign = true; break;
      case '+': spec.plusSign = true; break;
      case ' ': spec.spaceSign = true; break;
      case '#': spec.alternate = true; break;
      case '0': spec.zeroPad = true; break;
      default: return;
    }
  }
}

LengthModifier ReadModifier(const char*& cursor) {
  switch (*cursor) {
    case 'h':
      ++cursor;
      if (*cursor == 'h') return ++cursor, LengthModifier::kChar;
      return LengthModifier::kShort;
    case 'l':
      ++cursor;
      if (*cursor == 'l') return ++cursor, LengthModifier::kLongLong;
      return LengthModifier::kLong;
    case 'L': return ++cursor, LengthModifier::kLongLong;  // as the C library reads it for integers
    case 'j': return ++cursor, LengthModifier::kIntMax;
    case 'z': return ++cursor, LengthModifier::kSize;
    case 't': return ++cursor, LengthModifier::kPtrDiff;
    default: return LengthModifier::kNone;
  }
}

// Reads the settled specification; `*` takes the context's integers in order, a
// negative width meaning left alignment and a negative precision none at all.
PrintfSpec ReadSettledSpec(const FormatContext& context) {
  PrintfSpec spec;
  const char* cursor = context.spec + 1;
  const char* const last = context.spec + context.specLength - 1;
  size_t star = 0;
  auto nextStar = [&]() -> int64_t {
    return star < context.starCount && star < 2 ? context.starValues[star++] : 0;
  };
  ReadFlags(cursor, spec);
  if (*cursor == '*') {
    ++cursor;
    const int64_t width = nextStar();
    spec.hasWidth = true;
    spec.width = width < 0 ? -width : width;
    spec.leftAlign = spec.leftAlign || width < 0;
  } else if (IsDigit(*cursor)) {
    spec.hasWidth = true;
    spec.width = ReadNumber(cursor);
  }
  if (cursor < last && *cursor == '.') {
    ++cursor;
    spec.hasPrecision = true;
    if (*cursor == '*') {
      ++cursor;
      spec.precision = nextStar();
      spec.hasPrecision = spec.precision >= 0;
    } else {
      spec.precision = ReadNumber(cursor);
    }
  }
  if (cursor < last) spec.modifier = ReadModifier(cursor);
  spec.conversion = *last;
  return spec;
}

// ---------------------------------------------------------------------------
// Bounded output.

// Builds a printf format from the settled pieces only: flags, decimal numbers, an
// optional "ll" and a conversion letter the kind accepts.
void BuildPrintfFormat(const PrintfSpec& spec, bool longLong, char (&format)[kFormatSpecCapacity]) {
  char* out = format;
  *out++ = '%';
  if (spec.leftAlign) *out++ = '-';
  if (spec.plusSign) *out++ = '+';
  if (spec.spaceSign) *out++ = ' ';
  if (spec.alternate) *out++ = '#';
  if (spec.zeroPad) *out++ = '0';
  char* const end = format + kFormatSpecCapacity - 8;
  if (spec.hasWidth && spec.width > 0) out = std::to_chars(out, end, spec.width).ptr;
  if (spec.hasPrecision) {
    *out++ = '.';
    out = std::to_chars(out, end, spec.precision).ptr;
  }
  if (longLong) {
    *out++ = 'l';
    *out++ = 'l';
  }
  *out++ = spec.conversion;
  *out = '\0';
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
// `format` comes from BuildPrintfFormat and consumes exactly one `value`.
template <typename T>
size_t PrintBounded(FormatContext& context, const char* format, T value) {
  const int length = std::snprintf(context.output, context.room, format, value);
  if (length < 0) return 0;
  const auto produced = static_cast<size_t>(length);
  return produced >= context.room ? context.room : produced;
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// Writes into the placeholder's window and keeps count of what did not fit.
class OutputWindow {
 public:
  explicit OutputWindow(FormatContext& context) : context_(context) {}

  void Fill(char c, uint64_t count) {
    const uint64_t fits = std::min<uint64_t>(count, Free());
    std::memset(context_.output + used_, c, static_cast<size_t>(fits));
    used_ += static_cast<size_t>(fits);
    wanted_ += count;
  }

  void Append(std::string_view text) {
    const size_t fits = std::min<size_t>(text.size(), Free());
    if (fits != 0) std::memcpy(context_.output + used_, text.data(), fits);
    used_ += fits;
    wanted_ += text.size();
  }

  [[nodiscard]] size_t Result() const {
    return wanted_ > context_.room - 1 ? context_.room : used_;
  }

 private:
  size_t Free() const { return context_.room - 1 - used_; }

  FormatContext& context_;
  size_t used_ = 0;
  uint64_t wanted_ = 0;
};

// Lowers a precision by `delta` together with the width, so the padding stays as it was.
void LowerPrecision(PrintfSpec& spec, int64_t delta, bool widthFollows) {
  spec.precision -= delta;
  if (widthFollows && spec.hasWidth) spec.width = std::max<int64_t>(spec.width - delta, 0);
}

// Huge widths and precisions would make the C library pad or allocate far past the
// buffer. Only the first `visible` characters can ever show, so both are lowered to
// values that render those characters identically.
void LimitIntegerSpec(PrintfSpec& spec, int64_t visible) {
  const int64_t precisionLimit = visible + 32;
  if (spec.hasPrecision && spec.precision > precisionLimit) {
    LowerPrecision(spec, spec.precision - precisionLimit, true);
  }
  const int64_t longest = std::max<int64_t>(spec.hasPrecision ? spec.precision : 0, 24) + 4;
  if (spec.hasWidth) spec.width = std::min(spec.width, visible + longest);
}

void LimitDoubleSpec(PrintfSpec& spec, int64_t visible, bool finite) {
  if (!finite) spec.hasPrecision = false;
  // Past 1100 digits every double is exact, so no rounding reaches back.
  const int64_t precisionLimit = std::max<int64_t>(visible + 32, 1100);
  if (spec.hasPrecision && spec.precision > precisionLimit) {
    // %g drops trailing zeros unless '#' is given; then the length does not follow.
    const bool lengthFollows =
        (spec.conversion != 'g' && spec.conversion != 'G') || spec.alternate;
    LowerPrecision(spec, spec.precision - precisionLimit, lengthFollows);
  }
  const int64_t longest = std::max<int64_t>(spec.hasPrecision ? spec.precision : 0, 16) + 330;
  if (spec.hasWidth) spec.width = std::min(spec.width, visible + longest);
}

// ---------------------------------------------------------------------------
// Render routines.

bool IsSignedConversion(char conversion) { return conversion == 'd' || conversion == 'i'; }

// The value as the C library would see it through the modifier, widened to 64 bits.
int64_t SignedThrough(LengthModifier modifier, uint64_t bits) {
  switch (modifier) {
    case LengthModifier::kNone: return static_cast<int32_t>(bits);
    case LengthModifier::kChar: return static_cast<signed char>(bits);
    case LengthModifier::kShort: return static_cast<short>(bits);
    case LengthModifier::kLong: return static_cast<long>(bits);
    case LengthModifier::kSize: return static_cast<std::make_signed_t<size_t>>(bits);
    case LengthModifier::kPtrDiff: return static_cast<ptrdiff_t>(bits);
    case LengthModifier::kLongLong:
    case LengthModifier::kIntMax: break;
  }
  return static_cast<int64_t>(bits);
}

uint64_t UnsignedThrough(LengthModifier modifier, uint64_t bits) {
  switch (modifier) {
    case LengthModifier::kNone: return static_cast<uint32_t>(bits);
    case LengthModifier::kChar: return static_cast<unsigned char>(bits);
    case LengthModifier::kShort: return static_cast<unsigned short>(bits);
    case LengthModifier::kLong: return static_cast<unsigned long>(bits);
    case LengthModifier::kSize: return static_cast<size_t>(bits);
    case LengthModifier::kPtrDiff: return static_cast<std::make_unsigned_t<ptrdiff_t>>(bits);
    case LengthModifier::kLongLong:
    case LengthModifier::kIntMax: break;
  }
  return bits;
}

bool IsPlain(const PrintfSpec& spec) {
  return !spec.leftAlign && !spec.plusSign && !spec.spaceSign && !spec.alternate &&
         !spec.zeroPad && !spec.hasWidth && !spec.hasPrecision;
}

template <typename T>
size_t WriteDecimal(FormatContext& context, T value) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  OutputWindow window(context);
  window.Append(std::string_view(digits, static_cast<size_t>(end - digits)));
  return window.Result();
}

// `bits` is the value sign- or zero-extended to 64 bits.
size_t RenderInteger(FormatContext& context, const KindRules& rules, uint64_t bits) {
  if (!SettleSpec(context, rules)) return 0;
  PrintfSpec spec = ReadSettledSpec(context);
  char format[kFormatSpecCapacity];
  if (spec.conversion == 'c') {  // one character: no modifier, no precision
    spec.hasPrecision = false;
    LimitIntegerSpec(spec, static_cast<int64_t>(context.room - 1));
    BuildPrintfFormat(spec, false, format);
    return PrintBounded(context, format, static_cast<int>(static_cast<unsigned char>(bits)));
  }
  if (IsSignedConversion(spec.conversion)) {
    const long long value = SignedThrough(spec.modifier, bits);
    if (IsPlain(spec)) return WriteDecimal(context, value);
    LimitIntegerSpec(spec, static_cast<int64_t>(context.room - 1));
    BuildPrintfFormat(spec, true, format);
    return PrintBounded(context, format, value);
  }
  const unsigned long long value = UnsignedThrough(spec.modifier, bits);
  if (spec.conversion == 'u' && IsPlain(spec)) return WriteDecimal(context, value);
  LimitIntegerSpec(spec, static_cast<int64_t>(context.room - 1));
  BuildPrintfFormat(spec, true, format);
  return PrintBounded(context, format, value);
}

size_t RenderText(FormatContext& context, std::string_view text) {
  if (!SettleSpec(context, kTextRules)) return 0;
  const PrintfSpec spec = ReadSettledSpec(context);
  if (spec.hasPrecision && static_cast<uint64_t>(spec.precision) < text.size()) {
    text = text.substr(0, static_cast<size_t>(spec.precision));
  }
  const uint64_t width = spec.hasWidth ? static_cast<uint64_t>(spec.width) : 0;
  const uint64_t padding = width > text.size() ? width - text.size() : 0;
  OutputWindow window(context);
  if (!spec.leftAlign) window.Fill(' ', padding);
  window.Append(text);
  if (spec.leftAlign) window.Fill(' ', padding);
  return window.Result();
}

template <typename T>
T ValueOf(const void* value) {
  T result;
  std::memcpy(&result, value, sizeof result);
  return result;
}

size_t RenderSigned32(FormatContext& context) {
  const int64_t value = ValueOf<int32_t>(context.value);
  return RenderInteger(context, kSigned32Rules, static_cast<uint64_t>(value));
}

size_t RenderUnsigned32(FormatContext& context) {
  return RenderInteger(context, kUnsigned32Rules, ValueOf<uint32_t>(context.value));
}

size_t RenderSigned64(FormatContext& context) {
  return RenderInteger(context, kSigned64Rules, static_cast<uint64_t>(ValueOf<int64_t>(context.value)));
}

size_t RenderUnsigned64(FormatContext& context) {
  return RenderInteger(context, kUnsigned64Rules, ValueOf<uint64_t>(context.value));
}

size_t RenderDouble(FormatContext& context) {
  if (!SettleSpec(context, kDoubleRules)) return 0;
  PrintfSpec spec = ReadSettledSpec(context);
  const double value = ValueOf<double>(context.value);
  LimitDoubleSpec(spec, static_cast<int64_t>(context.room - 1), std::isfinite(value));
  char format[kFormatSpecCapacity];
  BuildPrintfFormat(spec, false, format);
  return PrintBounded(context, format, value);
}

size_t RenderCString(FormatContext& context) {
  const auto* characters = static_cast<const char*>(context.value);
  return RenderText(context, characters == nullptr ? kNullText : std::string_view(characters));
}

size_t RenderString(FormatContext& context) {
  return RenderText(context, *static_cast<const std::string*>(context.value));
}

size_t RenderStringView(FormatContext& context) {
  return RenderText(context, *static_cast<const std::string_view*>(context.value));
}

int32_t Signed32Integer(const void* value) { return ValueOf<int32_t>(value); }
int32_t Unsigned32Integer(const void* value) { return static_cast<int32_t>(ValueOf<uint32_t>(value)); }
int32_t Signed64Integer(const void* value) {
  return static_cast<int32_t>(static_cast<uint32_t>(ValueOf<int64_t>(value)));
}
int32_t Unsigned64Integer(const void* value) {
  return static_cast<int32_t>(static_cast<uint32_t>(ValueOf<uint64_t>(value)));
}

// ---------------------------------------------------------------------------
// The formatting loop.

// Fetches the integer of a `*` argument; false when it is out of range or has none.
[[nodiscard]] bool FetchStar(uint64_t number, const FormatArgument* arguments,
                             const void* const* values, size_t count, int32_t& integer) {
  if (number == 0 || number > count) return false;
  const FormatArgument& argument = arguments[number - 1];
  if (argument.integer == nullptr) return false;
  integer = argument.integer(values[number - 1]);
  return true;
}

struct FormatRun {
  char* buffer;
  size_t capacity;
  const FormatArgument* arguments;
  const void* const* values;
  size_t count;
  size_t written = 0;
  uint64_t counter = 1;  // the implicit argument number, shared with `*`
};

// Renders the placeholder at `cursor`; false ends the formatting.
[[nodiscard]] bool RenderPlaceholder(FormatRun& run, const char*& cursor) {
  FormatContext context;
  PlaceholderReferences references;
  PlaceholderParser parser(context, run.count, run.counter);
  if (!parser.Parse(cursor, references)) return false;
  if (references.argument > run.count) return false;
  int32_t precision = 0;
  int32_t width = 0;
  if (references.precisionArgument != 0 &&
      !FetchStar(references.precisionArgument, run.arguments, run.values, run.count, precision)) {
    return false;
  }
  if (references.widthArgument != 0 &&
      !FetchStar(references.widthArgument, run.arguments, run.values, run.count, width)) {
    return false;
  }
  if (references.widthArgument != 0) context.starValues[context.starCount++] = width;
  if (references.precisionArgument != 0) context.starValues[context.starCount++] = precision;

  const auto index = static_cast<size_t>(references.argument - 1);
  const FormatArgument& argument = run.arguments[index];
  if (argument.render == nullptr) return false;
  context.output = run.buffer + run.written;
  context.written = run.written;
  context.room = run.capacity - run.written;
  context.value = run.values[index];
  run.written += std::min(argument.render(context), context.room);
  return true;
}

}  // namespace

namespace format_kinds {
const FormatArgument kSigned32{RenderSigned32, Signed32Integer};
const FormatArgument kUnsigned32{RenderUnsigned32, Unsigned32Integer};
const FormatArgument kSigned64{RenderSigned64, Signed64Integer};
const FormatArgument kUnsigned64{RenderUnsigned64, Unsigned64Integer};
const FormatArgument kDouble{RenderDouble, nullptr};
const FormatArgument kCString{RenderCString, nullptr};
const FormatArgument kString{RenderString, nullptr};
const FormatArgument kStringView{RenderStringView, nullptr};
}  // namespace format_kinds

size_t FormatPositional(char* buffer, size_t capacity, const char* format,
                        const FormatArgument* arguments, const void* const* values, size_t count) {
  if (buffer == nullptr || capacity == 0) return 0;
  // The C library cannot report more than INT_MAX characters.
  FormatRun run{buffer, std::min<size_t>(capacity, INT_MAX), arguments, values,
                arguments == nullptr || values == nullptr ? 0 : count};
  const char* cursor = format == nullptr ? "" : format;
  while (*cursor != '\0' && run.written < run.capacity - 1) {
    if (*cursor != '%') {
      const char* stop = cursor;
      while (*stop != '\0' && *stop != '%') ++stop;
      const size_t plain = std::min(static_cast<size_t>(stop - cursor), run.capacity - 1 - run.written);
      std::memcpy(run.buffer + run.written, cursor, plain);
      run.written += plain;
      cursor += plain;
    } else if (cursor[1] == '%') {
      run.buffer[run.written++] = '%';
      cursor += 2;
    } else if (!RenderPlaceholder(run, cursor)) {
      break;
    }
  }
  const size_t end = std::min(run.written, run.capacity - 1);
  run.buffer[end] = '\0';
  return end;
}

}  // namespace zun
