// The value heap's intern table: records found again after the table grows,
// counts, hashes, and removal that keeps every other text reachable.
#include "binding/binding_heap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/fnv1a.h"

namespace zun {
namespace {

// Texts of many lengths, several sharing long beginnings, so that probe runs
// collide and both the word loop and the tail of the table hash are used.
std::vector<std::string> ManyTexts(size_t count) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) {
    std::string text = i % 3 == 0 ? "member_name_prefix_" : "k";
    text += std::to_string(i * 7919 % 100003);
    text.append(i % 5, static_cast<char>('a' + i % 26));
    texts.push_back(text);
  }
  return texts;
}

TEST(BindingHeapTest, ManyTextsStayFoundThroughGrowthAndRemoval) {
  BindingHeap heap;
  const std::vector<std::string> texts = ManyTexts(3000);
  std::vector<const InternedString*> records;
  for (const std::string& text : texts) records.push_back(heap.Intern(text));
  ASSERT_EQ(heap.InternedCount(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(heap.Intern(texts[i]), records[i]) << texts[i];
    EXPECT_EQ(heap.FindInterned(texts[i]), records[i]) << texts[i];
    EXPECT_EQ(records[i]->View(), texts[i]);
    EXPECT_EQ(records[i]->Hash(), Fnv1a32(texts[i]));
    EXPECT_EQ(records[i]->refCount, 2u);
  }

  // Free every other text fully (in a scattered order), so removal has to
  // close gaps inside probe runs; the rest must all stay reachable.
  for (size_t step = 0; step < texts.size(); ++step) {
    const size_t i = step * 1237 % texts.size();
    if (i % 2 == 0) continue;
    heap.Release(records[i]);
    heap.Release(records[i]);
  }
  EXPECT_EQ(heap.InternedCount(), texts.size() / 2);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(heap.FindInterned(texts[i]), i % 2 == 0 ? records[i] : nullptr) << texts[i];
  }

  for (size_t i = 0; i < texts.size(); i += 2) {
    heap.Release(records[i]);
    EXPECT_EQ(heap.FindInterned(texts[i]), records[i]) << "one count is left";
    heap.Release(records[i]);
  }
  EXPECT_EQ(heap.InternedCount(), 0u);
  EXPECT_EQ(heap.FindInterned(texts[0]), nullptr);
  const InternedString* again = heap.Intern(texts[1]);
  EXPECT_EQ(again->View(), texts[1]);
  EXPECT_EQ(heap.FindInterned(texts[1]), again);
  heap.Release(again);
}

TEST(BindingHeapTest, TextsDifferingOnlyInLengthOrTailAreDistinct) {
  BindingHeap heap;
  const std::vector<std::string> texts = {"a",        "ab",        "abcdefg",   "abcdefgh",  "abcdefghi",
                                          "abcdefgj", "abcdefghij", "abcdefghik", std::string("a\0b", 3),
                                          std::string("a\0", 2)};
  std::vector<const InternedString*> records;
  for (const std::string& text : texts) records.push_back(heap.Intern(text));
  EXPECT_EQ(heap.InternedCount(), texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(heap.FindInterned(texts[i]), records[i]) << i;
    EXPECT_EQ(records[i]->View(), texts[i]) << i;
  }
  for (const InternedString* record : records) heap.Release(record);
  EXPECT_EQ(heap.InternedCount(), 0u);
}

}  // namespace
}  // namespace zun
