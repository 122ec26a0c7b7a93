// The picture window's rules that need no window: status bar texts, the
// progress cursor, preset rectangles, the Monitors menu, window placement and
// the stored window state and resample filter.
#include <gtest/gtest.h>

#include <cstdint>

#include "picture/MainFormRules.h"
#include "picture/MainFormStatusTexts.h"

namespace vistrel {
namespace {

TEST(StatusTexts, PictureAndSelectionSizes) {
  EXPECT_EQ(PictureInfoText(1920, 1080, 4711),
            " Picture Width: 1920 , Height: 1080 , Number of Colors: 4711");
  // A selection covering 100 x 50 pixels: right and bottom are inclusive.
  EXPECT_EQ(SelectionSizeText(10, 20, 109, 69), " Selection Width:99 , Height:49");
  EXPECT_EQ(PointerSelectionText(5, 7, 10, 20, 109, 69),
            " ( X: 5, Y: 7 ) Selection Width:99 , Height:49");
  EXPECT_EQ(PointerSelectionText(-3, 0, 0, 0, 0, 0), " ( X: -3, Y: 0 ) Selection Width:0 , Height:0");
}

TEST(StatusTexts, ColorUnderThePointer) {
  // Outside the picture: -1, all bits set.
  EXPECT_EQ(ColorText(-1), "Color = -1, $FFFFFFFF  RGB = 255,255,255");
  EXPECT_EQ(ColorText(255), "Color = 255, $0000FF  RGB = 255,0,0");
  EXPECT_EQ(ColorText(16711680), "Color = 16711680, $FF0000  RGB = 0,0,255");
  EXPECT_EQ(ColorText(0), "Color = 0, $000000  RGB = 0,0,0");
  EXPECT_EQ(ColorText(0x00123456), "Color = 1193046, $123456  RGB = 86,52,18");
}

TEST(ProgressCursor, AlternatesEveryTenPercentUntil94) {
  struct Case {
    int percent;
    TProgressCursor cursor;
  };
  const Case cases[] = {
      {0, TProgressCursor::Wait},        {10, TProgressCursor::Wait},
      {11, TProgressCursor::NotAllowed}, {20, TProgressCursor::NotAllowed},
      {21, TProgressCursor::Wait},       {50, TProgressCursor::Wait},
      {51, TProgressCursor::NotAllowed}, {81, TProgressCursor::Wait},
      {90, TProgressCursor::Wait},       {91, TProgressCursor::NotAllowed},
      {93, TProgressCursor::NotAllowed}, {94, TProgressCursor::Default},
      {100, TProgressCursor::Default},   {-5, TProgressCursor::Wait},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgressCursorFor(c.percent), c.cursor) << c.percent;
}

TEST(PresetRectangle, CentredInTheVisiblePart) {
  // 32 x 32 in a view showing 200 x 100 pixels from (50, 10).
  EXPECT_EQ(PresetRectangle(32, 32, {50, 10, 200, 100}), (TSelectionBox{134, 44, 165, 75}));
}

TEST(PresetRectangle, LimitedToWhatTheViewShows) {
  // "128 x 128" on a view that shows 100 x 80 pixels selects 100 x 80.
  const TSelectionBox box = PresetRectangle(128, 128, {0, 0, 100, 80});
  EXPECT_EQ(box, (TSelectionBox{0, 0, 99, 79}));
  // The same when the view is scrolled.
  EXPECT_EQ(PresetRectangle(128, 128, {300, 40, 100, 80}), (TSelectionBox{300, 40, 399, 119}));
}

TEST(PresetRectangle, AbsurdCustomSizesStayInside) {
  EXPECT_EQ(PresetRectangle(-5, 0, {0, 0, 100, 80}), (TSelectionBox{49, 39, 49, 39}));
  EXPECT_EQ(PresetRectangle(1 << 30, 1 << 30, {0, 0, 100, 80}), (TSelectionBox{0, 0, 99, 79}));
}

TEST(MonitorsMenu, EnabledByMonitorCount) {
  EXPECT_EQ(MonitorsMenuEnabling(0), TMonitorsMenuState{});
  EXPECT_EQ(MonitorsMenuEnabling(1), TMonitorsMenuState{});
  EXPECT_EQ(MonitorsMenuEnabling(2), (TMonitorsMenuState{true, true, {true, true, false, false}}));
  EXPECT_EQ(MonitorsMenuEnabling(3), (TMonitorsMenuState{true, true, {true, true, true, false}}));
  EXPECT_EQ(MonitorsMenuEnabling(4), (TMonitorsMenuState{true, true, {true, true, true, true}}));
  // Five or more: only "All Monitors".
  EXPECT_EQ(MonitorsMenuEnabling(5), (TMonitorsMenuState{true, true, {}}));
  EXPECT_EQ(MonitorsMenuEnabling(9), (TMonitorsMenuState{true, true, {}}));
}

TEST(WindowPlacement, DefaultIsCentredOnThePrimaryScreen) {
  EXPECT_EQ(DefaultWindowRect(1280, 1024), (TWindowRect{322, 295, 636, 434}));
  EXPECT_EQ(DefaultWindowRect(637, 435), (TWindowRect{0, 0, 636, 434}));
}

TEST(WindowPlacement, FitsIntoTheCaptureBounds) {
  const TScreenRect monitor{0, 0, 1024, 768};
  // Inside: unchanged.
  EXPECT_EQ(FitWindowIntoBounds({100, 50, 700, 500}, monitor, 1024, 768),
            (TWindowRect{100, 50, 700, 500}));
  // A stored size larger than the bounds gives 640 x 480, centred where it
  // would stick out.
  EXPECT_EQ(FitWindowIntoBounds({600, 500, 2000, 1500}, monitor, 1024, 768),
            (TWindowRect{192, 144, 640, 480}));
  // Size fits, but the window sticks out to the right only.
  EXPECT_EQ(FitWindowIntoBounds({900, 10, 700, 500}, monitor, 1024, 768),
            (TWindowRect{162, 10, 700, 500}));
  // Absurd stored positions.
  EXPECT_EQ(FitWindowIntoBounds({INT32_MAX, INT32_MAX, 700, 500}, monitor, 1024, 768),
            (TWindowRect{162, 134, 700, 500}));
  // The bounds of a second monitor: its right edge counts, not its width.
  EXPECT_EQ(FitWindowIntoBounds({1300, 10, 700, 500}, {1024, 0, 2048, 768}, 1024, 768),
            (TWindowRect{1300, 10, 700, 500}));
}

TEST(StoredWindowState, ReadAndWritten) {
  EXPECT_EQ(WindowShowFromStored(2), TWindowShow::Maximised);
  for (int stored : {0, 1, 3, -1, 99}) EXPECT_EQ(WindowShowFromStored(stored), TWindowShow::Normal);
  EXPECT_EQ(StoredWindowShow(TWindowShow::Normal), 1);
  EXPECT_EQ(StoredWindowShow(TWindowShow::Maximised), 2);
  // Closed while minimised: written 0, which opens normal next time.
  EXPECT_EQ(StoredWindowShow(TWindowShow::Minimised), 0);
  EXPECT_EQ(WindowShowFromStored(StoredWindowShow(TWindowShow::Minimised)), TWindowShow::Normal);
}

TEST(StoredResampleFilter, MenuOrderNumbers) {
  EXPECT_EQ(ResampleFilterFromStored(1), TResampleFilter::rfMitchell);
  EXPECT_EQ(ResampleFilterFromStored(2), TResampleFilter::rfBSpline);
  EXPECT_EQ(ResampleFilterFromStored(3), TResampleFilter::rfLanczos3);
  EXPECT_EQ(ResampleFilterFromStored(4), TResampleFilter::rfBell);
  for (int stored : {0, 5, -1}) EXPECT_FALSE(ResampleFilterFromStored(stored)) << stored;
  for (int stored = 1; stored <= 4; ++stored)
    EXPECT_EQ(StoredResampleFilter(*ResampleFilterFromStored(stored)), stored);
  EXPECT_EQ(StoredResampleFilter(TResampleFilter::rfTriangle), 0);
}

}  // namespace
}  // namespace vistrel
