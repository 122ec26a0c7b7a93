// The marks over the frozen desktop: the size label's text and place at
// every edge and corner of a monitor, the magnifier's place and the picture
// pixels it shows, and the outline of the window a pick would take.
#include <gtest/gtest.h>

#include <algorithm>

#include "capture/area_rects.h"
#include "capture/overlay_marks.h"

namespace vistrel {
namespace {

bool Inside(const TScreenRect& box, const TScreenRect& monitor) {
  return box.left >= monitor.left && box.top >= monitor.top && box.right <= monitor.right &&
         box.bottom <= monitor.bottom;
}

TEST(OverlayMarks, SizeLabelSitsBesideTheSelectionAndInsideItsMonitor) {
  EXPECT_EQ(SizeLabelText(201, 31), "201 \u00d7 31");
  EXPECT_EQ(SizeLabelText(1, 1), "1 \u00d7 1");
  const TScreenRect one{0, 0, 1024, 768}, two{1024, 0, 2048, 768};
  struct Case {
    const char* where;
    TScreenRect selection, monitor, label;
  };
  // A 60 x 20 label.
  const Case cases[] = {
      {"middle: below, from the left edge", {100, 100, 300, 200}, one, {100, 206, 160, 226}},
      {"top-left corner", {0, 0, 10, 10}, one, {0, 16, 60, 36}},
      {"top edge", {500, 0, 600, 40}, one, {500, 46, 560, 66}},
      {"top-right corner", {1000, 0, 1024, 10}, one, {964, 16, 1024, 36}},
      {"right edge", {1000, 100, 1024, 200}, one, {964, 206, 1024, 226}},
      {"bottom-right corner: above", {990, 740, 1024, 768}, one, {964, 714, 1024, 734}},
      {"bottom edge: above", {100, 700, 300, 760}, one, {100, 674, 160, 694}},
      {"bottom-left corner: above", {0, 750, 30, 768}, one, {0, 724, 60, 744}},
      {"left edge", {0, 300, 5, 400}, one, {0, 406, 60, 426}},
      {"no room above or below: on it", {0, 10, 1024, 760}, one, {0, 0, 60, 20}},
      {"the whole monitor", {0, 0, 1024, 768}, one, {0, 0, 60, 20}},
      {"second monitor's bottom-right", {2040, 760, 2048, 768}, two, {1988, 734, 2048, 754}},
      {"second monitor's left edge", {1024, 100, 1030, 120}, two, {1024, 126, 1084, 146}},
  };
  for (const Case& c : cases) {
    const TScreenRect label = PlaceSizeLabel(c.selection, 60, 20, c.monitor);
    EXPECT_EQ(label, c.label) << c.where;
    EXPECT_TRUE(Inside(label, c.monitor)) << c.where;
  }
}

TEST(OverlayMarks, MagnifierGoesBesideThePointerAndTheLabelClearOfIt) {
  const TScreenRect one{0, 0, 1024, 768};
  EXPECT_EQ(PlaceMagnifier(100, 100, 122, 140, one), (TScreenRect{120, 120, 242, 260}));
  EXPECT_EQ(PlaceMagnifier(0, 0, 122, 140, one), (TScreenRect{20, 20, 142, 160}));
  // Flipped at the right and the bottom edge.
  EXPECT_EQ(PlaceMagnifier(1000, 100, 122, 140, one), (TScreenRect{858, 120, 980, 260}));
  EXPECT_EQ(PlaceMagnifier(100, 760, 122, 140, one), (TScreenRect{120, 600, 242, 740}));
  EXPECT_EQ(PlaceMagnifier(1023, 767, 122, 140, one), (TScreenRect{881, 607, 1003, 747}));
  // The size label gives way to the magnifier: to its left, else to its
  // right, else above or below it.
  const TScreenRect lens{881, 607, 1003, 747};
  EXPECT_EQ(AvoidMagnifier({900, 674, 960, 694}, lens, one), (TScreenRect{815, 674, 875, 694}));
  EXPECT_EQ(AvoidMagnifier({100, 206, 160, 226}, lens, one), (TScreenRect{100, 206, 160, 226}));
  EXPECT_EQ(AvoidMagnifier({20, 30, 80, 50}, {0, 20, 122, 160}, one), (TScreenRect{128, 30, 188, 50}));
  EXPECT_EQ(AvoidMagnifier({0, 30, 60, 50}, {0, 20, 1024, 160}, one), (TScreenRect{0, 0, 60, 20}));
  EXPECT_EQ(AvoidMagnifier({0, 30, 60, 50}, {0, 10, 1024, 160}, one), (TScreenRect{0, 166, 60, 186}));
  // A monitor too small for either side keeps it inside all the same.
  EXPECT_EQ(PlaceMagnifier(100, 75, 122, 140, {0, 0, 200, 150}), (TScreenRect{0, 0, 122, 140}));
  // The pointer's monitor, or the nearest one over a gap between monitors.
  const std::vector<TScreenRect> monitors{one, {1024, 0, 2048, 600}};
  EXPECT_EQ(MonitorAt(monitors, 10, 10, {}), one);
  EXPECT_EQ(MonitorAt(monitors, 1500, 700, {}), monitors[1]);
  EXPECT_EQ(MonitorAt({}, 5, 5, one), one);
  EXPECT_EQ(MonitorsOnOverlay({{{-1280, 0, 0, 1024}, false, "L"}, {{0, 0, 1024, 768}, true, "P"}},
                              {-1280, 0, 1024, 1024}),
            (std::vector<TScreenRect>{{0, 0, 1280, 1024}, {1280, 0, 2304, 768}}));
}

TEST(OverlayMarks, MagnifierShowsThePixelsAroundThePointerAndNothingPastTheMonitor) {
  auto at = [](const TMagnifierPixels& p, int col, int row) { return p[row * kMagnifierCells + col]; };
  auto count = [](const TMagnifierPixels& p) {
    return std::count_if(p.begin(), p.end(), [](const auto& cell) { return cell.has_value(); });
  };
  const TPictureRect picture{0, 0, 1023, 767};
  const TMagnifierPixels middle = MagnifierPixels({500, 400}, picture);
  EXPECT_EQ(count(middle), 225);
  EXPECT_EQ(at(middle, 0, 0), (TPicturePoint{493, 393}));
  EXPECT_EQ(at(middle, 7, 7), (TPicturePoint{500, 400}));
  EXPECT_EQ(at(middle, 14, 3), (TPicturePoint{507, 396}));
  // At the top-left corner only the pixels on the picture.
  const TMagnifierPixels corner = MagnifierPixels({0, 0}, picture);
  EXPECT_EQ(count(corner), 64);
  EXPECT_FALSE(at(corner, 6, 7));
  EXPECT_FALSE(at(corner, 7, 6));
  EXPECT_EQ(at(corner, 7, 7), (TPicturePoint{0, 0}));
  EXPECT_EQ(at(corner, 14, 14), (TPicturePoint{7, 7}));
  // At the bottom-right corner.
  const TMagnifierPixels far = MagnifierPixels({1023, 767}, picture);
  EXPECT_EQ(count(far), 64);
  EXPECT_EQ(at(far, 0, 0), (TPicturePoint{1016, 760}));
  EXPECT_FALSE(at(far, 8, 7));
  // At the left edge of the second monitor: its neighbour's pixels are not shown.
  const TMagnifierPixels edge = MagnifierPixels({1024, 100}, {1024, 0, 2047, 767});
  EXPECT_EQ(count(edge), 8 * 15);
  EXPECT_FALSE(at(edge, 6, 7));
  EXPECT_EQ(at(edge, 7, 0), (TPicturePoint{1024, 93}));
  EXPECT_EQ(MagnifierCaption({12, 34}, MakeColor(0xA0, 0xB1, 0x02)), "12, 34  #A0B102");
}

TEST(OverlayMarks, PickOutlineIsThePartAClickTakes) {
  const TScreenRect desktop{0, 0, 2048, 768}, two{1024, 0, 2048, 768};
  EXPECT_EQ(OverlayRectOfWindow({200, 100, 300, 150}, desktop, desktop, desktop),
            (TScreenRect{200, 100, 300, 150}));
  // Monitor 2 as bounds: only its part, where it lies on the screen.
  EXPECT_EQ(OverlayRectOfWindow({1000, 10, 1100, 60}, two, two, desktop),
            (TScreenRect{1024, 10, 1100, 60}));
  // Wholly left of the bounds, a pick takes the monitor's full width at the
  // window's rows, and so the outline shows.
  EXPECT_EQ(OverlayRectOfWindow({100, 10, 200, 60}, two, two, desktop),
            (TScreenRect{1024, 10, 2048, 60}));
  // A desktop reaching left of the primary monitor: the overlay starts there.
  const TScreenRect wide{-1280, 0, 1024, 768};
  EXPECT_EQ(OverlayRectOfWindow({-100, 50, 100, 150}, wide, wide, wide),
            (TScreenRect{1180, 50, 1380, 150}));
}

}  // namespace
}  // namespace vistrel
