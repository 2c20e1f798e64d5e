// Type identities: signature texts, hashes, id texts and first-use safety.
#include "binding/static_type.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

#include "binding/fnv1a.h"

namespace zun {
namespace {

struct SpelledRecord {};
enum class SpelledEnum : int32_t { A };

}  // namespace

template <>
struct StaticTypeName<SpelledRecord> {
  static std::string Spell() { return "struct Orvo::Test::SpelledRecord"; }
};
template <>
struct StaticTypeName<SpelledEnum> {
  static std::string Spell() { return "enum Orvo::Test::SpelledEnum"; }
};

namespace {

constexpr char kStringText[] =
    "class std::basic_string<char,struct std::char_traits<char>,class std::allocator<char> >";
constexpr char kVectorOfStringText[] =
    "class std::vector<class std::basic_string<char,struct std::char_traits<char>,class "
    "std::allocator<char> >,class std::allocator<class std::basic_string<char,struct "
    "std::char_traits<char>,class std::allocator<char> > > >";

TEST(Fnv1a32Test, HashesTextsWithTheStandardBasis) {
  struct Row {
    const char* text;
    uint32_t hash;
  };
  const Row rows[] = {
      {"", 0x811C9DC5u},
      {"a", 0xE40C292Cu},
      {"unsigned int __cdecl StaticType::HashCode<int>(void)", 0x1C4DE261u},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(Fnv1a32(row.text), row.hash);
    EXPECT_EQ(Fnv1a32(std::string_view(row.text)), row.hash);
  }
}

TEST(Fnv1a32Test, TakesBytesAsUnsignedAndHonoursTheBasis) {
  // 0xE9 taken as a signed char would be sign-extended and change the result.
  const char high[] = "\xE9";
  EXPECT_EQ(Fnv1a32(high), (0x811C9DC5u ^ 0xE9u) * 0x01000193u);
  EXPECT_EQ(Fnv1a32("a", 0u), (0u ^ 0x61u) * 0x01000193u);
  EXPECT_EQ(Fnv1a32(nullptr), 0x811C9DC5u);
}

TEST(Fnv1a32Test, LengthFormHashesEmbeddedNuls) {
  const char text[] = {'a', '\0', 'b'};  // not NUL-terminated
  EXPECT_NE(Fnv1a32(std::string_view(text, sizeof text)), Fnv1a32("a"));
  EXPECT_EQ(Fnv1a32(std::string_view(text, 1)), Fnv1a32("a"));
  EXPECT_EQ(Fnv1a32(std::string_view(text, 1), 0u), Fnv1a32("a", 0u));
}

TEST(StaticTypeTest, SpellsTypesByTheirNativeNames) {
  struct Row {
    std::string spelled;
    const char* expected;
  };
  const Row rows[] = {
      {SpellStaticType<int>(), "int"},
      {SpellStaticType<unsigned int>(), "unsigned int"},
      {SpellStaticType<bool>(), "bool"},
      {SpellStaticType<void>(), "void"},
      {SpellStaticType<int64_t>(), "__int64"},
      {SpellStaticType<uint64_t>(), "unsigned __int64"},
      {SpellStaticType<const int>(), "int"},
      {SpellStaticType<std::string>(), kStringText},
      {SpellStaticType<std::vector<std::string>>(), kVectorOfStringText},
      {SpellStaticType<std::vector<int>>(), "class std::vector<int,class std::allocator<int> >"},
      {SpellStaticType<std::vector<SpelledRecord>>(),
       "class std::vector<struct Orvo::Test::SpelledRecord,class std::allocator<struct "
       "Orvo::Test::SpelledRecord> >"},
      {SpellStaticType<SpelledEnum>(), "enum Orvo::Test::SpelledEnum"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(row.spelled, row.expected);
  }
}

TEST(StaticTypeTest, IdentitiesOfBuiltInAndStringTypes) {
  struct Row {
    const StaticTypeId& identity;
    std::string signature;
    const char* id;
  };
  const Row rows[] = {
      {StaticType::Get<int>(), StaticType::Signature<int>(), "#1C4DE261"},
      {StaticType::Get<void>(), StaticType::Signature<void>(), "#1BE7EF8E"},
      {StaticType::Get<unsigned int>(), StaticType::Signature<unsigned int>(), "#3494B562"},
      {StaticType::Get<bool>(), StaticType::Signature<bool>(), "#6AB1187C"},
      {StaticType::Get<std::string>(), StaticType::Signature<std::string>(), "#2757680B"},
      {StaticType::Get<std::vector<std::string>>(),
       StaticType::Signature<std::vector<std::string>>(), "#BFDBCD22"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_STREQ(row.identity.id, row.id);
    EXPECT_EQ(row.identity.hash, Fnv1a32(row.signature.c_str()));
  }
  EXPECT_EQ(StaticType::Signature<int>(), "unsigned int __cdecl StaticType::HashCode<int>(void)");
  EXPECT_EQ(StaticType::HashCode<int>(), 0x1C4DE261u);
}

TEST(StaticTypeTest, IdTextKeepsLeadingZeros) {
  // The id text is produced from the hash alone; this spelling's hash is
  // below 0x10000000, found by search and checked here first.
  constexpr char kLowSpelling[] = "struct Orvo::Low12";
  const uint32_t hash = StaticTypeHashOfSpelling(kLowSpelling);
  ASSERT_LT(hash, 0x10000000u);
  static_type_detail::StaticTypeRecord record(kLowSpelling);
  char expected[16];
  std::snprintf(expected, sizeof expected, "#%08X", static_cast<unsigned>(hash));
  EXPECT_STREQ(record.Id().id, expected);
  EXPECT_EQ(std::strlen(record.Id().id), 9u);
  EXPECT_EQ(record.Id().id[1], '0');
}

TEST(StaticTypeTest, RecordIsTheSameOnEveryCall) {
  EXPECT_EQ(&StaticType::Get<SpelledRecord>(), &StaticType::Get<SpelledRecord>());
  EXPECT_EQ(&StaticType::Get<const SpelledRecord>(), &StaticType::Get<SpelledRecord>());
  EXPECT_NE(StaticType::HashCode<SpelledRecord>(), StaticType::HashCode<SpelledEnum>());
  EXPECT_TRUE(StaticType::IsVoid(StaticType::Get<void>()));
  EXPECT_FALSE(StaticType::IsVoid(StaticType::Get<int>()));
}

// First use of a type that nobody asked for yet, from many threads at once.
struct RacedRecord {};

}  // namespace

template <>
struct StaticTypeName<RacedRecord> {
  static std::string Spell() { return "struct Orvo::Test::RacedRecord"; }
};

namespace {

TEST(StaticTypeTest, ConcurrentFirstCallsShareOneCompleteRecord) {
  constexpr int kThreads = 8;
  std::array<const StaticTypeId*, kThreads> seen{};
  std::array<uint32_t, kThreads> hashes{};
  std::array<std::string, kThreads> ids;
  std::vector<std::thread> threads;
  for (int index = 0; index < kThreads; ++index) {
    threads.emplace_back([&, index] {
      const StaticTypeId& identity = StaticType::Get<RacedRecord>();
      seen[index] = &identity;
      hashes[index] = identity.hash;
      ids[index] = identity.id;
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  const uint32_t expected = StaticTypeHashOfSpelling("struct Orvo::Test::RacedRecord");
  for (int index = 0; index < kThreads; ++index) {
    EXPECT_EQ(seen[index], seen[0]);
    EXPECT_EQ(hashes[index], expected);
    EXPECT_EQ(ids[index], seen[0]->id);
  }
}

}  // namespace
}  // namespace zun
