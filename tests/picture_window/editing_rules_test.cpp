// Rules of the editing commands.
#include <gtest/gtest.h>

#include "picture/editing_rules.h"

namespace vistrel {
namespace {

TEST(ResizePresets, SevenCommandsWithTheirSizes) {
  ASSERT_EQ(std::size(kResizePresets), 7u);
  EXPECT_EQ(kResizePresets[0].command, 35);
  EXPECT_EQ(kResizePresets[4].command, 40);  // 39 is "Include Cursor"
  EXPECT_EQ(kResizePresets[4].width, 768);
  EXPECT_EQ(kResizePresets[6].height, 1200);
}

TEST(ResizePresets, QualityFilterOnlyWhileQualityZoomIsOn) {
  EXPECT_EQ(PresetFilter(true, TResampleFilter::rfLanczos3), TResampleFilter::rfLanczos3);
  EXPECT_EQ(PresetFilter(false, TResampleFilter::rfLanczos3), TResampleFilter::rfNone);
}

TEST(UndoCaption, CountOnlyWithEntries) {
  EXPECT_EQ(UndoCaption(0), "Undo");
  EXPECT_EQ(UndoCaption(1), "Undo (1)");
  EXPECT_EQ(UndoCaption(16), "Undo (16)");
}

TEST(PenWidth, WholeNumbersInRangeOthersTwoNonNumbersAskedAgain) {
  const struct {
    const char* answer;
    std::optional<int> width;
  } cases[] = {{"7", 7},       {"1", 1},        {"10", 10},    {" 3 ", 3},  {"+4", 4},
               {"0", 2},       {"11", 2},       {"-5", 2},     {"99999999999999999999", 2},
               {"", std::nullopt}, {"abc", std::nullopt}, {"2.5", std::nullopt},
               {"3x", std::nullopt}, {"+-3", std::nullopt}, {"+", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(PenWidthFromAnswer(c.answer), c.width) << '"' << c.answer << '"';
}

}  // namespace
}  // namespace vistrel
