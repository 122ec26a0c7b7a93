// Rectangles between the frozen picture and the screen, the custom size
// dialog's limits and the timer interval floor.
#include <gtest/gtest.h>

#include <array>

#include "capture/area_rects.h"
#include "capture/rect_size_rules.h"
#include "capture/timer_rules.h"

namespace vistrel {
namespace {

TEST(AreaRects, SelectedPixelsAreExactlyTheGrabbedOnes) {
  const TScreenRect desktop{0, 0, 1024, 768};
  // Pixels 100..300 and 50..80 selected: the grab stops one past them.
  EXPECT_EQ(ScreenRectOfSelection({100, 50, 300, 80}, desktop), (TScreenRect{100, 50, 301, 81}));
  // Stored and shown again: the same pixels.
  const auto box = SelectionOfScreenRect({100, 50, 301, 81}, desktop);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->left, 100);
  EXPECT_EQ(box->right, 300);
  EXPECT_EQ(box->bottom, 80);
  // The default rectangle leaves 4 pixels free on each side.
  const TScreenRect inset = DefaultCustomCaptureRect(desktop);
  EXPECT_EQ(inset, (TScreenRect{4, 4, 1020, 764}));
  const auto shown = SelectionOfScreenRect(inset, desktop);
  EXPECT_EQ(shown->right, 1019);
  EXPECT_EQ(shown->bottom, 763);
}

TEST(AreaRects, MonitorPictureKeepsScreenCoordinates) {
  // Monitor 2 frozen on its own: its picture starts at its corner.
  const TScreenRect monitor2{1920, 0, 2944, 768};
  EXPECT_EQ(ScreenRectOfSelection({10, 20, 109, 119}, monitor2), (TScreenRect{1930, 20, 2030, 120}));
  const auto box = SelectionOfScreenRect({1930, 20, 2030, 120}, monitor2);
  ASSERT_TRUE(box);
  EXPECT_EQ((std::array{box->left, box->top, box->right, box->bottom}), (std::array{10, 20, 109, 119}));
  // A rectangle on another monitor is not on this picture at all.
  EXPECT_FALSE(SelectionOfScreenRect({100, 100, 200, 200}, monitor2));
  // Partly on it: cut to the picture.
  const auto cut = SelectionOfScreenRect({1900, 700, 2000, 900}, monitor2);
  ASSERT_TRUE(cut);
  EXPECT_EQ((std::array{cut->left, cut->top, cut->right, cut->bottom}), (std::array{0, 700, 79, 767}));
  // Desktops reaching left of the primary monitor.
  EXPECT_EQ(DefaultCustomCaptureRect({-1280, 0, 1024, 768}), (TScreenRect{-1276, 4, 1020, 764}));
}

TEST(AreaRects, PickedWindowComesFromTheFrozenPicture) {
  const TScreenRect desktop{0, 0, 1024, 768};
  const auto part = FrozenPartOfWindow({200, 100, 300, 150}, desktop, desktop);
  ASSERT_TRUE(part);
  EXPECT_EQ((std::array{part->left, part->top, part->right, part->bottom}), (std::array{200, 100, 299, 149}));
  // Hanging over the desktop's edge: the part on it.
  const auto edge = FrozenPartOfWindow({1000, 700, 1100, 800}, desktop, desktop);
  EXPECT_EQ((std::array{edge->left, edge->top, edge->right, edge->bottom}), (std::array{1000, 700, 1023, 767}));
  // With monitor 2 as bounds, a window across the boundary gives its part
  // on monitor 2, measured from that monitor's corner.
  const TScreenRect monitor2{1920, 0, 2944, 768};
  const auto across = FrozenPartOfWindow({1800, 10, 2000, 60}, monitor2, monitor2);
  EXPECT_EQ((std::array{across->left, across->top, across->right, across->bottom}), (std::array{0, 10, 79, 59}));
}

TEST(CustomSize, LimitsOfTheFields) {
  EXPECT_FALSE(CustomSizeAccepted(15, 800));  // the lower bound is exclusive
  EXPECT_TRUE(CustomSizeAccepted(16, 800));
  EXPECT_TRUE(CustomSizeAccepted(796, 800));
  EXPECT_FALSE(CustomSizeAccepted(797, 800));
  EXPECT_FALSE(CustomSizeAccepted(16, 19));  // 16 only where the view allows
  EXPECT_EQ(MaxCustomSize(800, 600), (TCustomSize{796, 596}));
  // A view too small for any accepted size, or none at all: no Max.
  EXPECT_FALSE(MaxCustomSize(19, 600));
  EXPECT_FALSE(MaxCustomSize(800, 0));
  EXPECT_EQ(FieldValue("0120"), 120);
  EXPECT_EQ(FieldValue(" 42 "), 42);
  EXPECT_FALSE(FieldValue(""));
  EXPECT_FALSE(FieldValue("   "));
  EXPECT_FALSE(FieldValue("-5"));
}

TEST(TimerInterval, TenSecondFloorOnlyUnderAMinute) {
  EXPECT_EQ(IntervalWithFloor({0, 0, 5}), (TTimeOfDay{0, 0, 10}));
  EXPECT_EQ(IntervalMs(IntervalWithFloor({0, 0, 5})), 10000);
  EXPECT_EQ(IntervalMs(IntervalWithFloor({0, 1, 5})), 65000);
  EXPECT_EQ(IntervalMs(IntervalWithFloor({1, 0, 0})), 3600000);
  EXPECT_EQ(IntervalMs(IntervalWithFloor({23, 59, 59})), 86399000);
}

}  // namespace
}  // namespace vistrel
