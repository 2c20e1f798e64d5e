// Tests for the MessagePack reader: every type byte class, merging of repeated
// keys, truncation messages and positions, bytes consumed, nesting bound,
// and the sniffer.
#include "formats/msgpack_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/canonical_text.h"

namespace zun {
namespace {

using Bytes = std::vector<uint8_t>;

struct Row {
  Bytes input;
  const char* expected;  // canonical text, or the error message
  uint32_t consumed;
};

std::string Describe(const Bytes& bytes) {
  std::string text;
  for (uint8_t byte : bytes) text += FormatText("%1$02X ", byte);
  return text;
}

MessagePackReadResult Read(const Bytes& bytes) {
  return DeserializeMessagePack(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

TEST(MessagePackReaderTest, ReadsEveryValueType) {
  const Row rows[] = {
      {{}, "null", 0},
      {{0x05}, "i:5", 1},
      {{0x7F}, "i:127", 1},
      {{0xCC, 0x05}, "u:5", 2},
      {{0xCD, 0x01, 0x02}, "u:258", 3},
      {{0xCE, 0xFF, 0xFF, 0xFF, 0xFF}, "u:4294967295", 5},
      {{0xCF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "u:18446744073709551615", 9},
      {{0xFF}, "i:-1", 1},
      {{0xE0}, "i:-32", 1},
      {{0xD0, 0xFF}, "i:-1", 2},
      {{0xD1, 0x80, 0x00}, "i:-32768", 3},
      {{0xD2, 0x80, 0x00, 0x00, 0x00}, "i:-2147483648", 5},
      {{0xD3, 0x80, 0, 0, 0, 0, 0, 0, 0}, "i:-9223372036854775808", 9},
      {{0xD3, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "i:9223372036854775807", 9},
      {{0xCA, 0x3F, 0x80, 0x00, 0x00}, "f:1", 5},
      {{0xCA, 0x3D, 0xCC, 0xCC, 0xCD}, "f:0.10000000149011612", 5},
      {{0xCA, 0x7F, 0x80, 0x00, 0x00}, "f:inf", 5},
      {{0xCB, 0x3F, 0xF8, 0, 0, 0, 0, 0, 0}, "f:1.5", 9},
      {{0xCB, 0x7F, 0xF8, 0, 0, 0, 0, 0, 0}, "f:nan", 9},
      {{0xC0}, "null", 1},
      {{0xC2}, "false", 1},
      {{0xC3}, "true", 1},
      {{0xA0}, R"("")", 1},
      {{0xA2, 'h', 'i'}, R"("hi")", 3},
      {{0xD9, 0x01, 'x'}, R"("x")", 3},
      {{0xDA, 0x00, 0x01, 'x'}, R"("x")", 4},
      {{0xDB, 0x00, 0x00, 0x00, 0x01, 'x'}, R"("x")", 6},
      {{0xA3, 'a', 0x00, 'b'}, R"("a")", 4},
      {{0xC4, 0x00}, "b:", 2},
      {{0xC4, 0x03, 'a', 0x00, 'b'}, "b:YQBi", 5},
      {{0xC5, 0x00, 0x01, 0xFF}, "b:/w==", 4},
      {{0xC6, 0x00, 0x00, 0x00, 0x02, 0x01, 0x02}, "b:AQI=", 7},
      {{0x92, 0xC0, 0x01}, "[null,i:1]", 3},
      {{0x93, 0x01, 0x02}, "[i:1,i:2]", 3},
      {{0x90}, "[]", 1},
      {{0xDC, 0x00, 0x00}, "[]", 3},
      {{0xDC, 0x00, 0x01, 0xC3}, "[true]", 4},
      {{0xDD, 0x00, 0x00, 0x00, 0x01, 0xC3}, "[true]", 6},
      {{0x80}, "{}", 1},
      {{0xDE, 0x00, 0x00}, "{}", 3},
      {{0x81, 0xA1, 'a', 0xC3}, R"({"a":true})", 4},
      {{0xDE, 0x00, 0x01, 0xD9, 0x01, 'a', 0x01}, R"({"a":i:1})", 7},
      {{0xDF, 0x00, 0x00, 0x00, 0x01, 0xDA, 0x00, 0x01, 'a', 0x01}, R"({"a":i:1})", 10},
      {{0xDF, 0x00, 0x00, 0x00, 0x01, 0xDB, 0, 0, 0, 0x01, 'a', 0x01}, R"({"a":i:1})", 12},
      {{0x82, 0xA1, 'b', 0x01, 0xA1, 'a', 0x91, 0x80}, R"({"a":[{}],"b":i:1})", 8},
      {{0x81, 0xA2, 'k', 0x00, 0x01}, R"({"k":i:1})", 5},
      {{0x81, 0xA0, 0x01}, R"({"":i:1})", 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Describe(row.input));
    const MessagePackReadResult read = Read(row.input);
    ASSERT_TRUE(read.result.Ok()) << read.result.ErrorMessage();
    EXPECT_EQ(CanonicalText(read.result.Value()), row.expected);
    EXPECT_EQ(read.consumed, row.consumed);
  }
}

TEST(MessagePackReaderTest, StopsAfterTheFirstValueOrAtTheEnd) {
  const Row rows[] = {
      {{0x01, 0x02}, "i:1", 1},
      {{0x92, 0x01, 0x02, 0xC3}, "[i:1,i:2]", 3},
      {{0x90, 0x01}, "[]", 1},
      {{0x80, 0x01}, "{}", 1},
      // The buffer ends inside containers: what was read stays.
      {{0x93, 0x01}, "[i:1]", 2},
      {{0x92}, "[]", 1},
      {{0x82, 0xA1, 'a', 0x01, 0xA1, 'b'}, R"({"a":i:1})", 6},
      {{0x81, 0xA1, 'a'}, "{}", 3},
      {{0x91, 0x91, 0x91}, "[[[]]]", 3},
      {{0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, "[i:1]", 6},
      // Declared counts that the rest of the buffer cannot hold.
      {{0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, "[[i:1]]", 11},
      {{0xDC, 0x00, 0x03, 0x01, 0xDC, 0xFF, 0xFF, 0xC3}, "[i:1,[true]]", 8},
      {{0xDF, 0xFF, 0xFF, 0xFF, 0xFF, 0xA1, 'a', 0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0xC0}, R"({"a":[null]})", 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Describe(row.input));
    const MessagePackReadResult read = Read(row.input);
    ASSERT_TRUE(read.result.Ok()) << read.result.ErrorMessage();
    EXPECT_EQ(CanonicalText(read.result.Value()), row.expected);
    EXPECT_EQ(read.consumed, row.consumed);
  }
}

TEST(MessagePackReaderTest, RepeatedKeysMergeIntoTheExistingMember) {
  const Row rows[] = {
      {{0x82, 0xA1, 'a', 0x93, 0x01, 0x02, 0x03, 0xA1, 'a', 0x91, 0x09}, R"({"a":[i:9,i:2,i:3]})", 11},
      {{0x82, 0xA1, 'a', 0x01, 0xA1, 'a', 0xC0}, R"({"a":i:1})", 7},
      {{0x82, 0xA1, 'a', 0x81, 0xA1, 'x', 0x01, 0xA1, 'a', 0x81, 0xA1, 'y', 0x02},
       R"({"a":{"x":i:1,"y":i:2}})", 13},
      {{0x82, 0xA1, 'a', 0x01, 0xA1, 'a', 0xA1, 's'}, R"({"a":"s"})", 8},
      {{0x82, 0xA1, 'a', 0x91, 0x01, 0xA1, 'a', 0x81, 0xA1, 'x', 0x01}, R"({"a":{"x":i:1}})", 11},
      // Keys that differ only after a NUL name the same member.
      {{0x82, 0xA3, 'a', 0x00, '1', 0x01, 0xA3, 'a', 0x00, '2', 0x02}, R"({"a":i:2})", 11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Describe(row.input));
    const MessagePackReadResult read = Read(row.input);
    ASSERT_TRUE(read.result.Ok()) << read.result.ErrorMessage();
    EXPECT_EQ(CanonicalText(read.result.Value()), row.expected);
    EXPECT_EQ(read.consumed, row.consumed);
  }
}

TEST(MessagePackReaderTest, FailsWithTheMessageAndPositionOfTheFault) {
  const Row rows[] = {
      {{0xC1}, "Invalid MessagePack data at position 1.", 1},
      {{0xD4, 0x01, 0x02}, "Invalid MessagePack data at position 1.", 1},
      {{0xC7, 0x01, 0x01, 0x00}, "Invalid MessagePack data at position 1.", 1},
      {{0xC8}, "Invalid MessagePack data at position 1.", 1},
      {{0xC9}, "Invalid MessagePack data at position 1.", 1},
      {{0xD5}, "Invalid MessagePack data at position 1.", 1},
      {{0xD6}, "Invalid MessagePack data at position 1.", 1},
      {{0xD7}, "Invalid MessagePack data at position 1.", 1},
      {{0xD8}, "Invalid MessagePack data at position 1.", 1},
      {{0x92, 0x01, 0xC1}, "Invalid MessagePack data at position 3.", 3},
      {{0x81, 0x01, 0x02}, "Invalid MessagePack data at position 2. Map keys must be strings.", 2},
      {{0x81, 0xC0, 0x02}, "Invalid MessagePack data at position 2. Map keys must be strings.", 2},
      {{0x81, 0xC4, 0x01, 'a', 0x02}, "Invalid MessagePack data at position 2. Map keys must be strings.", 2},
      {{0x81, 0x91, 0xA1, 'a', 0x02}, "Invalid MessagePack data at position 2. Map keys must be strings.", 2},
      {{0xCC}, "Invalid MessagePack data. 8-bit integer value at position 1 is truncated.", 1},
      {{0xD0}, "Invalid MessagePack data. 8-bit integer value at position 1 is truncated.", 1},
      {{0xD9}, "Invalid MessagePack data. 8-bit integer value at position 1 is truncated.", 1},
      {{0xC4}, "Invalid MessagePack data. 8-bit integer value at position 1 is truncated.", 1},
      {{0xCD, 0x01}, "Invalid MessagePack data. 16-bit integer value at position 1 is truncated.", 1},
      {{0xDC, 0x00}, "Invalid MessagePack data. 16-bit integer value at position 1 is truncated.", 1},
      {{0xDE}, "Invalid MessagePack data. 16-bit integer value at position 1 is truncated.", 1},
      {{0xCE}, "Invalid MessagePack data. 32-bit integer value at position 1 is truncated.", 1},
      {{0xCA, 0x3F, 0x80, 0x00}, "Invalid MessagePack data. 32-bit integer value at position 1 is truncated.", 1},
      {{0xDD, 0x00}, "Invalid MessagePack data. 32-bit integer value at position 1 is truncated.", 1},
      {{0xCF, 1, 2, 3, 4, 5, 6, 7}, "Invalid MessagePack data. 64-bit integer value at position 1 is truncated.", 1},
      {{0xCB}, "Invalid MessagePack data. 64-bit integer value at position 1 is truncated.", 1},
      {{0x91, 0xD3, 0x00}, "Invalid MessagePack data. 64-bit integer value at position 2 is truncated.", 2},
      {{0xA3, 'a', 'b'}, "Invalid MessagePack data. String of size 3 at position 1 is truncated.", 1},
      {{0xDB, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
       "Invalid MessagePack data. String of size 4294967295 at position 5 is truncated.", 5},
      {{0x81, 0xA5, 'k'}, "Invalid MessagePack data. String of size 5 at position 2 is truncated.", 2},
      {{0x81, 0xDA, 0x00}, "Invalid MessagePack data. 16-bit integer value at position 2 is truncated.", 2},
      {{0xC4, 0x05, 0x00}, "Invalid MessagePack data. Raw bytes of size 5 at position 2 are truncated.", 2},
      {{0xC6, 0xFF, 0xFF, 0xFF, 0xFF},
       "Invalid MessagePack data. Raw bytes of size 4294967295 at position 5 are truncated.", 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Describe(row.input));
    const MessagePackReadResult read = Read(row.input);
    ASSERT_FALSE(read.result.Ok());
    EXPECT_EQ(read.result.ErrorMessage(), row.expected);
    EXPECT_EQ(read.result.Value().Size(), 1u) << "no part of the partly read value survives";
    EXPECT_EQ(read.consumed, row.consumed);
  }
}

TEST(MessagePackReaderTest, AcceptsNestingUpToTheLimitAndRefusesDeeper) {
  Bytes deepest(512, 0x91);
  deepest.push_back(0x01);
  const MessagePackReadResult ok = Read(deepest);
  ASSERT_TRUE(ok.result.Ok()) << ok.result.ErrorMessage();
  EXPECT_EQ(ok.consumed, 513u);

  Bytes maps;
  for (int i = 0; i < 512; ++i) maps.insert(maps.end(), {0x81, 0xA1, 'k'});
  maps.push_back(0x01);
  EXPECT_TRUE(Read(maps).result.Ok());

  Bytes tooDeep(513, 0x91);
  tooDeep.push_back(0x01);
  EXPECT_EQ(Read(tooDeep).result.ErrorMessage(),
            "Invalid MessagePack data at position 513. Nesting is deeper than the limit of 512 levels.");
  // Containers that all declare far more items than the buffer holds.
  Bytes lying;
  for (int i = 0; i < 600; ++i) lying.insert(lying.end(), {0xDD, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(Read(lying).result.ErrorMessage(),
            "Invalid MessagePack data at position 2565. Nesting is deeper than the limit of 512 levels.");
  // Hundreds of kilobytes of array headers fail cleanly.
  EXPECT_FALSE(Read(Bytes(300000, 0x91)).result.Ok());
  EXPECT_FALSE(Read(Bytes(300000, 0xDC)).result.Ok());
}

TEST(MessagePackReaderTest, NullBufferReadsAsEmpty) {
  const MessagePackReadResult read = DeserializeMessagePack(nullptr, 5);
  EXPECT_TRUE(read.result.Ok());
  EXPECT_EQ(read.consumed, 0u);
}

TEST(MessagePackReaderTest, SniffsMapAndArrayHeaders) {
  for (int byte = 0; byte < 256; ++byte) {
    const auto first = static_cast<uint8_t>(byte);
    const bool expected = (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xDC && byte <= 0xDF);
    SCOPED_TRACE(byte);
    EXPECT_EQ(LooksLikeMessagePack(&first, 1), expected);
  }
  const uint8_t map = 0x80;
  EXPECT_FALSE(LooksLikeMessagePack(&map, 0));
  EXPECT_FALSE(LooksLikeMessagePack(nullptr, 1));
}

}  // namespace
}  // namespace zun
