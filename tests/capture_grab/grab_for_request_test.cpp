#include "capture/grab_for_request.h"

#include <gtest/gtest.h>

#include "capture/cursor_drawing.h"
#include "fake_desktop.h"
#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"
#include "platform/typewriter_sound.h"

namespace vistrel {
namespace {

using testing::kMonitor2;
using testing::kWholeDesktop;
using testing::ScreenColour;
using testing::ShowsScreenArea;

constexpr TColor kCursorRed = MakeColor(255, 0, 0);

// An opaque red 4 x 3 cursor with its hotspot at (1, 1), over point (x, y).
TCursorImage RedCursorAt(int x, int y) {
  TCursorImage cursor;
  cursor.x = x;
  cursor.y = y;
  cursor.hotspot_x = 1;
  cursor.hotspot_y = 1;
  cursor.width = 4;
  cursor.height = 3;
  cursor.argb.assign(12, 0xFFFF0000);
  return cursor;
}

class GrabForRequestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::MakeTwoMonitorDesktop(screen);
    windows.windows[7] = {{100, 50, 500, 400}, {104, 80, 496, 396}};
    windows.active = 7;
  }

  TScreenRect Grab(TCaptureArea area, const TScreenRect& bounds = kWholeDesktop) {
    return GrabForRequest(services, area, bounds, custom, options, picture);
  }

  FakeScreenSource screen;
  FakeCursorSource cursor;
  FakeWindowSource windows;
  FakeSoundPlayer sound;
  FakeBeeper beeper;
  TGrabServices services{screen, cursor, windows, sound, beeper};
  TGrabOptions options;
  TScreenRect custom{4, 4, 2940, 1076};
  TPictureBitmap picture;
};

TEST_F(GrabForRequestTest, DesktopAreasGrabTheCaptureBounds) {
  for (TCaptureArea area : {TCaptureArea::Desktop, TCaptureArea::Area, TCaptureArea::Object}) {
    EXPECT_EQ(Grab(area, kMonitor2), kMonitor2);
    EXPECT_TRUE(ShowsScreenArea(picture, kMonitor2));
  }
}

TEST_F(GrabForRequestTest, MonitorByNumberIgnoresTheCaptureBoundsAndCustomIsConfined) {
  options.monitor = 2;
  EXPECT_EQ(Grab(TCaptureArea::Monitor), kMonitor2);
  EXPECT_TRUE(ShowsScreenArea(picture, kMonitor2));
  options.monitor = 1;
  EXPECT_EQ(Grab(TCaptureArea::Monitor, kMonitor2), (TScreenRect{0, 0, 1920, 1080}));
  custom = {1800, 100, 2100, 200};
  EXPECT_EQ(Grab(TCaptureArea::Custom, kMonitor2), (TScreenRect{1920, 100, 2100, 200}));
}

TEST_F(GrabForRequestTest, CaptureTimerGrabsTheCustomRectangleConfined) {
  options.capture_timer_running = true;
  custom = {1800, 100, 2100, 200};
  EXPECT_EQ(Grab(TCaptureArea::Desktop, kMonitor2), (TScreenRect{1920, 100, 2100, 200}));
  EXPECT_TRUE(ShowsScreenArea(picture, {1920, 100, 2100, 200}));
}

TEST_F(GrabForRequestTest, WindowGrabsOuterOrClientRectangle) {
  options.client_area_only = false;
  EXPECT_EQ(Grab(TCaptureArea::Window), (TScreenRect{100, 50, 500, 400}));
  EXPECT_TRUE(ShowsScreenArea(picture, {100, 50, 500, 400}));
  EXPECT_EQ(Grab(TCaptureArea::ClientArea), (TScreenRect{104, 80, 496, 396}));
  options.client_area_only = true;
  EXPECT_EQ(Grab(TCaptureArea::Window), (TScreenRect{104, 80, 496, 396}));
  EXPECT_TRUE(ShowsScreenArea(picture, {104, 80, 496, 396}));
}

TEST_F(GrabForRequestTest, WindowWithoutClientAreaOrNoWindowGrabsTheBounds) {
  options.client_area_only = true;
  windows.windows[7].client = TScreenRect{};  // minimised
  EXPECT_EQ(Grab(TCaptureArea::Window, kMonitor2), kMonitor2);
  windows.active = 0;
  options.client_area_only = false;
  EXPECT_EQ(Grab(TCaptureArea::Window, kMonitor2), kMonitor2);
  windows.active = 99;  // closed between the hotkey and the grab
  EXPECT_EQ(Grab(TCaptureArea::Window), kWholeDesktop);
}

TEST_F(GrabForRequestTest, AWindowSourceThatCouldNotAskGrabsNothingAndSaysWhy) {
  windows.failure = "the compositor did not answer";
  for (TCaptureArea area : {TCaptureArea::Window, TCaptureArea::ClientArea}) {
    std::string failure;
    EXPECT_EQ(GrabForRequest(services, area, kWholeDesktop, custom, options, picture, &failure),
              TScreenRect{});
    EXPECT_EQ(failure, "the active window is not known: the compositor did not answer");
    EXPECT_TRUE(picture.Empty());
  }
  // Other modes do not ask for windows.
  std::string failure;
  GrabForRequest(services, TCaptureArea::Desktop, kWholeDesktop, custom, options, picture, &failure);
  EXPECT_EQ(failure, "");
}

TEST_F(GrabForRequestTest, CursorIsDrawnAtItsPositionLessHotspot) {
  options.include_cursor = true;
  cursor.cursor = RedCursorAt(2050, 100);
  Grab(TCaptureArea::Desktop, kMonitor2);
  // Measured from monitor 2's corner: (2050 - 1 - 1920, 100 - 1).
  EXPECT_EQ(picture.Pixel(129, 99), kCursorRed);
  EXPECT_EQ(picture.Pixel(132, 101), kCursorRed);
  EXPECT_EQ(picture.Pixel(128, 99), ScreenColour(1920 + 128, 99));
  EXPECT_EQ(picture.Pixel(133, 101), ScreenColour(1920 + 133, 101));
  EXPECT_EQ(picture.Pixel(129, 102), ScreenColour(1920 + 129, 102));
}

TEST_F(GrabForRequestTest, CursorFollowsTheCornerLeftAfterConfinement) {
  options.include_cursor = true;
  windows.windows[7].outer = {1500, 100, 2200, 300};  // partly on monitor 1
  cursor.cursor = RedCursorAt(2000, 150);
  Grab(TCaptureArea::Window, kMonitor2);
  EXPECT_EQ(picture.Pixel(2000 - 1 - 1920, 150 - 1 - 100), kCursorRed);
}

TEST_F(GrabForRequestTest, CursorWithoutImageOrOptionOffDrawsNothing) {
  cursor.cursor = RedCursorAt(300, 300);
  Grab(TCaptureArea::Desktop);
  EXPECT_EQ(cursor.reads, 0);
  EXPECT_TRUE(ShowsScreenArea(picture, kWholeDesktop));
  options.include_cursor = true;
  cursor.cursor.reset();
  Grab(TCaptureArea::Desktop);
  EXPECT_TRUE(ShowsScreenArea(picture, kWholeDesktop));
}

TEST_F(GrabForRequestTest, NoSoundDeviceSoundsTheBeepInstead) {
  options.sound = true;
  Grab(TCaptureArea::Desktop);
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_TRUE(sound.played.empty());
  sound.has_device = true;
  Grab(TCaptureArea::Desktop);
  EXPECT_EQ(beeper.beeps, 1);
  ASSERT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(sound.played[0], TypewriterWave().size());
  options.sound = false;
  Grab(TCaptureArea::Desktop);
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(GrabForRequestTest, WhereTheDesktopPicksWindowsTheirCapturesAreItsPicture) {
  TWindowPick pick;
  pick.picture.Allocate(30, 20);
  pick.picture.Fill(MakeColor(1, 2, 3));
  windows.pick = pick;
  options.sound = true;
  options.include_cursor = true;
  cursor.cursor = RedCursorAt(0, 0);
  for (TCaptureArea area : {TCaptureArea::Window, TCaptureArea::ClientArea, TCaptureArea::Object}) {
    std::string failure;
    EXPECT_EQ(GrabForRequest(services, area, kWholeDesktop, custom, options, picture, &failure),
              TScreenRect{});
    EXPECT_TRUE(failure.empty());
    // Exactly the pick: its size, and no cursor where its place is unknown.
    EXPECT_EQ(picture, pick.picture);
  }
  EXPECT_EQ(windows.picks, 3);
  EXPECT_TRUE(screen.grabs.empty());
  EXPECT_EQ(beeper.beeps, 3);
  // The other areas are grabbed as ever.
  EXPECT_EQ(Grab(TCaptureArea::Desktop, kMonitor2), kMonitor2);
  EXPECT_EQ(windows.picks, 3);
}

TEST_F(GrabForRequestTest, ALeftPickIsQuietAFailedOneNamedNeitherAPicture) {
  windows.pick = TWindowPick{{}, true, "the screenshot was cancelled"};
  options.sound = true;
  std::string failure;
  bool cancelled = false;
  GrabForRequest(services, TCaptureArea::Window, kWholeDesktop, custom, options, picture, &failure,
                 &cancelled);
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(failure.empty());
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(beeper.beeps, 0);

  windows.pick = TWindowPick{{}, false, "the desktop refused the screenshot"};
  cancelled = false;
  GrabForRequest(services, TCaptureArea::Window, kWholeDesktop, custom, options, picture, &failure,
                 &cancelled);
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(failure, "the desktop refused the screenshot");
  EXPECT_TRUE(picture.Empty());
  // A pick that brought nothing and said nothing is still a failure.
  windows.pick = TWindowPick{};
  EXPECT_FALSE(PickFromDesktop(windows, failure));
  EXPECT_EQ(failure, "the desktop gave no picture");
}

TEST(GrabStepsTest, FirstGrabAndChoiceFollowWhoFindsWindows) {
  struct Case {
    TCaptureArea area;
    std::optional<TCaptureArea> unselected;
    bool picks;
    TCaptureArea first;
    bool frozen;
    bool pick_when_unselected;
  };
  using A = TCaptureArea;
  const Case cases[] = {
      {A::Window, {}, false, A::Window, false, false},
      {A::Window, {}, true, A::Window, false, false},
      {A::Area, {}, false, A::Desktop, true, false},
      {A::Area, A::Window, false, A::Window, true, false},
      // The pick waits until the user leaves without a selection.
      {A::Area, A::Window, true, A::Desktop, true, true},
      {A::Area, A::ClientArea, true, A::Desktop, true, true},
      {A::Area, A::Desktop, true, A::Desktop, true, false},
      {A::Object, {}, false, A::Desktop, true, false},
      // No overlay over the desktop's own dialog.
      {A::Object, {}, true, A::Object, false, false},
  };
  for (const Case& c : cases) {
    TCaptureRequest request;
    request.area = c.area;
    request.unselected = c.unselected;
    SCOPED_TRACE(int(c.area) * 100 + int(c.unselected.value_or(A::Custom)) * 10 + c.picks);
    EXPECT_EQ(FirstGrabArea(request, c.picks), c.first);
    EXPECT_EQ(ChoosesOnFrozenDesktop(request, c.picks), c.frozen);
    EXPECT_EQ(PicksWhenUnselected(request, c.picks), c.pick_when_unselected);
  }
}

// Records what had happened when the sound played.
class OrderWatchingPlayer : public ISoundPlayer {
 public:
  OrderWatchingPlayer(FakeScreenSource& s, FakeCursorSource& c) : screen(s), cursor(c) {}
  bool PlayWave(std::span<const std::uint8_t>) override {
    grabs_before = screen.grabs.size();
    cursor_reads_before = cursor.reads;
    return true;
  }
  FakeScreenSource& screen;
  FakeCursorSource& cursor;
  std::size_t grabs_before = 99;
  int cursor_reads_before = -1;
};

TEST_F(GrabForRequestTest, CursorIsReadBeforeTheSoundAndTheGrabFollowsIt) {
  OrderWatchingPlayer player(screen, cursor);
  TGrabServices watched{screen, cursor, windows, player, beeper};
  options.sound = true;
  options.include_cursor = true;
  GrabForRequest(watched, TCaptureArea::Desktop, kWholeDesktop, custom, options, picture);
  EXPECT_EQ(player.cursor_reads_before, 1);
  EXPECT_EQ(player.grabs_before, 0u);
  EXPECT_EQ(screen.grabs.size(), 1u);
}

class CursorDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture.Allocate(10, 8);
    picture.Fill(MakeColor(0, 0, 200));
  }
  TPictureBitmap picture;
};

TEST_F(CursorDrawingTest, ClippedAtEveryEdge) {
  const TCursorImage cursor = RedCursorAt(0, 0);
  DrawCursorImage(picture, cursor, -2, -1);  // top-left corner
  EXPECT_EQ(picture.Pixel(0, 0), kCursorRed);
  EXPECT_EQ(picture.Pixel(1, 1), kCursorRed);
  EXPECT_EQ(picture.Pixel(2, 0), MakeColor(0, 0, 200));
  DrawCursorImage(picture, cursor, 8, 6);  // bottom-right corner
  EXPECT_EQ(picture.Pixel(9, 7), kCursorRed);
  EXPECT_EQ(picture.Pixel(7, 7), MakeColor(0, 0, 200));
  DrawCursorImage(picture, cursor, 50, -20);  // entirely outside
  DrawCursorImage(picture, cursor, -4, 0);
  EXPECT_EQ(picture.Pixel(0, 3), MakeColor(0, 0, 200));
}

TEST_F(CursorDrawingTest, PremultipliedAlphaIsBlended) {
  TCursorImage cursor;
  cursor.width = 2;
  cursor.height = 1;
  // Half-transparent white (premultiplied), and fully transparent.
  cursor.argb = {0x80808080, 0x00000000};
  DrawCursorImage(picture, cursor, 3, 3);
  EXPECT_EQ(picture.Pixel(3, 3), MakeColor(128, 128, 128 + 100));
  EXPECT_EQ(picture.Pixel(4, 3), MakeColor(0, 0, 200));
}

TEST_F(CursorDrawingTest, ImageShorterThanItsSizeIsIgnored) {
  TCursorImage cursor = RedCursorAt(0, 0);
  cursor.argb.resize(5);
  DrawCursorImage(picture, cursor, 0, 0);
  EXPECT_EQ(picture.Pixel(0, 0), MakeColor(0, 0, 200));
}

}  // namespace
}  // namespace vistrel
