// Runs the MessagePack reader over the MessagePack conformance suite in
// ext-suites/msgpack: every encoding of every case must decode, with all of
// its bytes consumed, to the case's value (numbers compared by value, since
// the wire format decides the kind); extension types must fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/canonical_text.h"
#include "formats/json_reader.h"
#include "formats/msgpack_reader.h"

namespace zun {
namespace {

const std::filesystem::path kSuiteFile =
    std::filesystem::path(ZUN_EXT_SUITES_DIR) / "msgpack" / "msgpack-test-suite.json";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "cd-00-01" -> {0xCD, 0x00, 0x01}; "" -> {}.
std::vector<uint8_t> HexBytes(std::string_view hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 3) {
    bytes.push_back(static_cast<uint8_t>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

// A number of any kind as a decimal or %.17g text, so that equal values of
// different kinds compare equal (integers above 2^53 occur only as integers
// and as their nearest double, which prints the same through %.17g).
std::string NumberText(const BindingProperty& value) {
  switch (value.Kind()) {
    case BindingKind::Signed: return std::to_string(value.GetSigned());
    case BindingKind::Unsigned: return std::to_string(value.GetUnsigned());
    case BindingKind::Float: {
      const double number = value.GetFloat();
      if (number == static_cast<double>(static_cast<int64_t>(number)) && number > -1e18 && number < 1e18) {
        return std::to_string(static_cast<int64_t>(number));
      }
      return FormatText("%1$.17g", number);
    }
    default: return "not a number: " + CanonicalText(value);
  }
}

// Compares a decoded value with the suite's JSON value, by the case's kind.
void ExpectSameValue(const BindingProperty& decoded, const BindingProperty& expected, std::string_view kind) {
  if (kind == "binary") {
    const std::vector<uint8_t> bytes = HexBytes(expected.GetString());
    const auto blob = decoded.GetBlob();
    EXPECT_EQ(decoded.Kind(), BindingKind::Blob);
    EXPECT_EQ(std::vector<uint8_t>(blob.begin(), blob.end()), bytes);
    return;
  }
  if (kind == "bignum") {  // the exact integer as decimal text
    EXPECT_EQ(NumberText(decoded), expected.GetString());
    return;
  }
  switch (expected.Kind()) {
    case BindingKind::Signed:
    case BindingKind::Unsigned:
    case BindingKind::Float: EXPECT_EQ(NumberText(decoded), NumberText(expected)); return;
    case BindingKind::Collection: {
      ASSERT_EQ(decoded.Kind(), BindingKind::Collection) << CanonicalText(decoded);
      ASSERT_EQ(decoded.Size(), expected.Size());
      for (size_t i = 0; i < expected.Size(); ++i) ExpectSameValue(decoded.Element(i), expected.Element(i), "");
      return;
    }
    case BindingKind::Structure: {
      ASSERT_EQ(decoded.Kind(), BindingKind::Structure) << CanonicalText(decoded);
      ASSERT_EQ(decoded.Size(), expected.Size());
      for (auto [name, value] : expected.Members()) ExpectSameValue(decoded.Member(name), value, "");
      return;
    }
    default: EXPECT_EQ(CanonicalText(decoded), CanonicalText(expected));
  }
}

TEST(MessagePackSuiteTest, EveryEncodingDecodesToItsCase) {
  const BindingResult suite = DeserializeJson(ReadFile(kSuiteFile));
  ASSERT_TRUE(suite.Ok()) << suite.ErrorMessage();
  size_t encodings = 0;
  size_t extensions = 0;
  for (auto [group, cases] : suite.Value().Members()) {
    for (const BindingProperty& testCase : cases.Elements()) {
      for (const BindingProperty& hex : testCase.Member("msgpack").Elements()) {
        SCOPED_TRACE(std::string(group) + " " + std::string(hex.GetString()));
        ++encodings;
        const std::vector<uint8_t> bytes = HexBytes(hex.GetString());
        const MessagePackReadResult read =
            DeserializeMessagePack(bytes.data(), static_cast<uint32_t>(bytes.size()));
        if (testCase.FindMember("ext") != nullptr || testCase.FindMember("timestamp") != nullptr) {
          ++extensions;
          EXPECT_EQ(read.result.ErrorMessage(), "Invalid MessagePack data at position 1.");
          continue;
        }
        ASSERT_TRUE(read.result.Ok()) << read.result.ErrorMessage();
        EXPECT_EQ(read.consumed, bytes.size());
        for (auto [kind, expected] : testCase.Members()) {
          if (kind == "msgpack" || (kind == "number" && testCase.FindMember("bignum") != nullptr)) continue;
          ExpectSameValue(read.result.Value(), expected, kind);
        }
      }
    }
  }
  EXPECT_EQ(encodings, 233u);
  EXPECT_EQ(extensions, 30u);
}

}  // namespace
}  // namespace zun
