// zun-value: decodes a file (or standard input) the way a request body or an
// argument text is decoded, and prints the value in its canonical text.
//
//   zun-value [--format json|yaml|msgpack|sniff] [FILE]
//
// Exit status: 0 with the value on standard output; 1 with "error: <message>"
// on standard error when the decode fails; 2 for usage errors and unreadable
// input.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>

#include "formats/canonical_text.h"
#include "formats/json_reader.h"
#include "formats/msgpack_messages.h"
#include "formats/msgpack_reader.h"
#include "formats/yaml_reader.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitDecodeFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: zun-value [--format json|yaml|msgpack|sniff] [FILE]\n"
    "Decodes FILE (standard input when absent or -) and prints the value in\n"
    "canonical text.\n"
    "  json, yaml  the bytes as a NUL-terminated text, as a request body\n"
    "  msgpack     all bytes, as a request body: bytes after the value fail\n"
    "  sniff       as an argument text: MessagePack, JSON or YAML by its first\n"
    "              bytes, else the text itself as a string (the default)\n";

enum class Format { Json, Yaml, MessagePack, Sniff };

struct Options {
  Format format = Format::Sniff;
  const char* file = nullptr;  // null: standard input
};

bool ParseFormat(std::string_view name, Format& format) {
  if (name == "json") {
    format = Format::Json;
  } else if (name == "yaml") {
    format = Format::Yaml;
  } else if (name == "msgpack") {
    format = Format::MessagePack;
  } else if (name == "sniff") {
    format = Format::Sniff;
  } else {
    return false;
  }
  return true;
}

// False (after printing why) when the arguments are not understood.
bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    std::string_view formatName;
    if (argument == "--format") {
      if (i + 1 == argc) {
        std::cerr << "zun-value: --format needs a value\n";
        return false;
      }
      formatName = argv[++i];
    } else if (argument.starts_with("--format=")) {
      formatName = argument.substr(9);
    } else if (argument.size() > 1 && argument[0] == '-') {
      std::cerr << "zun-value: unknown option " << argument << "\n";
      return false;
    } else if (options.file != nullptr) {
      std::cerr << "zun-value: only one FILE may be given\n";
      return false;
    } else {
      options.file = argv[i];
      continue;
    }
    if (!ParseFormat(formatName, options.format)) {
      std::cerr << "zun-value: unknown format " << formatName << "\n";
      return false;
    }
  }
  return true;
}

bool ReadInput(const char* file, std::string& bytes) {
  std::FILE* in = stdin;
  if (file != nullptr && std::strcmp(file, "-") != 0) {
    in = std::fopen(file, "rb");
    if (in == nullptr) {
      std::cerr << "zun-value: cannot read " << file << ": " << std::strerror(errno) << "\n";
      return false;
    }
  }
  char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof(buffer), in)) > 0) bytes.append(buffer, count);
  const bool failed = std::ferror(in) != 0;
  if (in != stdin) std::fclose(in);
  if (failed) std::cerr << "zun-value: cannot read " << (file ? file : "standard input") << "\n";
  return !failed;
}

zun::BindingResult DecodeMessagePack(const std::string& bytes, bool rejectExtraBytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto size = static_cast<uint32_t>(bytes.size());
  zun::MessagePackReadResult read = zun::DeserializeMessagePack(data, size);
  if (rejectExtraBytes && read.result.Ok() && read.consumed != size) {
    read.result.SetError(zun::kMessagePackExtraData);
  }
  return std::move(read.result);
}

// An argument text: the first rule that recognises it decides.
zun::BindingResult DecodeSniffed(const std::string& bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (zun::LooksLikeMessagePack(data, static_cast<uint32_t>(bytes.size()))) {
    return DecodeMessagePack(bytes, /*rejectExtraBytes=*/false);
  }
  if (zun::LooksLikeJson(bytes.c_str())) return zun::DeserializeJson(bytes.c_str());
  if (zun::LooksLikeYaml(bytes.c_str())) return zun::DeserializeYaml(bytes.c_str());
  zun::BindingResult text;
  text.Value().SetString(bytes.c_str());
  return text;
}

zun::BindingResult Decode(Format format, const std::string& bytes) {
  switch (format) {
    case Format::Json: return zun::DeserializeJson(bytes.c_str());
    case Format::Yaml: return zun::DeserializeYaml(bytes.c_str());
    case Format::MessagePack: return DecodeMessagePack(bytes, /*rejectExtraBytes=*/true);
    case Format::Sniff: break;
  }
  return DecodeSniffed(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
      std::cout << kUsage;
      return kExitOk;
    }
  }
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  std::string bytes;
  if (!ReadInput(options.file, bytes)) return kExitUsage;
  if (bytes.size() > std::numeric_limits<uint32_t>::max()) {
    std::cerr << "zun-value: input larger than 4 GiB\n";
    return kExitUsage;
  }
  const zun::BindingResult result = Decode(options.format, bytes);
  if (!result.Ok()) {
    std::cerr << "error: " << result.ErrorMessage() << "\n";
    return kExitDecodeFailed;
  }
  std::cout << zun::CanonicalText(result.Value()) << "\n";
  return kExitOk;
}
