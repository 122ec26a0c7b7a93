// Rules of text insertion.
#include <gtest/gtest.h>

#include "picture/text_rules.h"

namespace vistrel {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(DateTimeText, TwelveHourClockWithTheGivenNames) {
  EXPECT_EQ(DateTimeText(At(2026, 12, 8, 14, 5, 9), "Tuesday", "Dec"), "Tuesday, Dec 08, 2026  02:05:09 PM");
  EXPECT_EQ(DateTimeText(At(2026, 1, 1, 0, 0, 0), "Thursday", "Jan"), "Thursday, Jan 01, 2026  12:00:00 AM");
  EXPECT_EQ(DateTimeText(At(2026, 1, 1, 12, 30, 59), "Thursday", "Jan"), "Thursday, Jan 01, 2026  12:30:59 PM");
  EXPECT_EQ(DateTimeText(At(2026, 3, 9, 11, 59, 1), "lundi", "mars"), "lundi, mars 09, 2026  11:59:01 AM");
}

TEST(FontStyle, SixStoredStylesBothWays) {
  for (int stored = 0; stored <= 5; ++stored) {
    const auto style = FontStyleFromStored(stored);
    ASSERT_TRUE(style) << stored;
    EXPECT_EQ(StoredFontStyle(*style), stored);
  }
  EXPECT_EQ(FontStyleFromStored(5), (TFontStyle{true, true, false, false}));
  EXPECT_EQ(FontStyleFromStored(3), (TFontStyle{false, false, true, false}));
  EXPECT_FALSE(FontStyleFromStored(6));
  EXPECT_FALSE(FontStyleFromStored(-1));
  // Bold and underline together is drawn but cannot be stored.
  EXPECT_FALSE(StoredFontStyle({true, false, true, false}));
  EXPECT_FALSE(StoredFontStyle({true, true, true, true}));
}

TEST(UserText, LinesEndWithCrLf) {
  EXPECT_EQ(LinesOfUserText("Sample Text"), std::vector<std::string>{"Sample Text"});
  EXPECT_EQ(LinesOfUserText("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(LinesOfUserText("").empty());
  EXPECT_EQ(UserTextOfLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(UserTextOfLines({}), "");
}

TEST(TextBuffer, FirstThirtyThreeLinesTheRestEmpty) {
  std::vector<std::string> forty;
  for (int i = 0; i < 40; ++i) forty.push_back("line " + std::to_string(i));
  const auto buffer = TextBufferOfLines(forty);
  EXPECT_EQ(buffer.size(), 33u);
  EXPECT_EQ(buffer[32], "line 32");
  const auto two = TextBufferOfLines({"a", "b"});
  EXPECT_EQ(two[1], "b");
  EXPECT_EQ(two[2], "");
  EXPECT_EQ(two[32], "");
}

TEST(ScreenPixels, PointsAtNinetySixDotsPerInch) {
  EXPECT_EQ(ScreenPixelsOfPoints(10), 13);
  EXPECT_EQ(ScreenPixelsOfPoints(12), 16);
  EXPECT_EQ(ScreenPixelsOfPoints(8), 11);
  EXPECT_EQ(ScreenPixelsOfPoints(1), 1);
  EXPECT_EQ(ScreenPixelsOfPoints(1000), 1333);
}

}  // namespace
}  // namespace vistrel
