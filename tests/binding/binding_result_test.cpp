// Results: the ok flag, the {"error": message} form, and how copies and
// moves carry both.
#include "binding/binding_result.h"

#include <gtest/gtest.h>

#include <string>

namespace zun {
namespace {

BindingResult Failed(std::string_view message) {
  BindingResult result;
  result.SetError(message);
  return result;
}

void ExpectFailure(const BindingResult& result, std::string_view message) {
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(result.ErrorMessage(), message);
  EXPECT_EQ(result.Value().Kind(), BindingKind::Structure);
  EXPECT_EQ(result.Value().Size(), 1u);
  EXPECT_EQ(result.Value().Member("error").GetString(), message);
}

TEST(BindingResultTest, NewResultIsOkAndEmpty) {
  BindingResult result;
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.Value().Kind(), BindingKind::Empty);
  EXPECT_EQ(result.ErrorMessage(), "");
}

TEST(BindingResultTest, SetErrorReplacesTheValueWithTheMessage) {
  BindingResult result;
  result.Value().Member("partial").SetSigned(1);
  result.SetError("went wrong");
  ExpectFailure(result, "went wrong");
}

TEST(BindingResultTest, OkResultHasNoMessageEvenWithAnErrorMember) {
  BindingResult result;
  result.Value().Member("error").SetString("data, not a failure");
  EXPECT_EQ(result.ErrorMessage(), "");
}

TEST(BindingResultTest, FailureWhoseErrorIsNoStringHasAnEmptyMessage) {
  BindingResult result = Failed("x");
  result.Value().Member("error").SetSigned(3);
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(result.ErrorMessage(), "");
}

TEST(BindingResultTest, FormattedErrorUsesPositionalArguments) {
  BindingResult result;
  result.SetError("'%1' expects %2, got %3.", "count", "uint8", int64_t{300});
  ExpectFailure(result, "'count' expects uint8, got 300.");
}

TEST(BindingResultTest, MessageMayComeFromTheResultItself) {
  BindingResult result = Failed("first");
  result.SetError(result.ErrorMessage());
  ExpectFailure(result, "first");
}

TEST(BindingResultTest, ResetToOkClearsValueAndFlag) {
  BindingResult result = Failed("bad");
  result.ResetToOk();
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.Value().Kind(), BindingKind::Empty);
  EXPECT_EQ(result.ErrorMessage(), "");
}

// A copied failure must stay a failure, or an error would pass as a value.
TEST(BindingResultTest, CopiesCarryTheFlag) {
  const BindingResult failed = Failed("bad input");
  BindingResult constructed(failed);
  ExpectFailure(constructed, "bad input");

  BindingResult assigned;
  assigned = failed;
  ExpectFailure(assigned, "bad input");

  BindingResult ok;
  ok.Value().SetSigned(4);
  assigned = ok;
  EXPECT_TRUE(assigned.Ok());
  EXPECT_EQ(assigned.Value().GetSigned(), 4);
  ExpectFailure(failed, "bad input");
}

TEST(BindingResultTest, MovesCarryTheFlagAndLeaveTheSourceOkAndEmpty) {
  BindingResult source = Failed("moved");
  BindingResult constructed(std::move(source));
  ExpectFailure(constructed, "moved");
  EXPECT_TRUE(source.Ok());
  EXPECT_EQ(source.Value().Kind(), BindingKind::Empty);

  BindingResult assigned;
  assigned = std::move(constructed);
  ExpectFailure(assigned, "moved");
  EXPECT_TRUE(constructed.Ok());
}

TEST(BindingResultTest, ResultTakesOverAValue) {
  BindingProperty value;
  value.Member("a").SetString("b");
  const BindingHeap* heap = value.Heap();
  BindingResult result(std::move(value));
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.Value().Heap(), heap);
  EXPECT_EQ(result.Value().Member("a").GetString(), "b");
}

}  // namespace
}  // namespace zun
