// Captures on a two-monitor X server (Xorg with the dummy driver).
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/capture_bounds.h"
#include "capture/grab_for_request.h"
#include "platform/platform.h"
#include "test_window.h"
#include "x_test_server.h"

namespace vistrel::testing {
namespace {

class NoBeep : public IBeeper {
 public:
  void Beep() override {}
};

class TwoMonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    server = XTestServer::StartTwoMonitors(error);
    // Xorg drives its dummy card only for root; CI and the build machines are.
    if (!server && geteuid() != 0) GTEST_SKIP() << "needs root for Xorg: " << error;
    ASSERT_TRUE(server) << error;
    platform = OpenDesktopPlatform(error, server->display().c_str());
    ASSERT_TRUE(platform) << error;
  }
  std::unique_ptr<XTestServer> server;
  std::unique_ptr<TPlatform> platform;
};

TEST_F(TwoMonitorTest, MonitorsAndTheVirtualDesktop) {
  const std::vector<TMonitor> monitors = platform->screen->Monitors();
  ASSERT_EQ(monitors.size(), 2u);
  EXPECT_EQ(monitors[0].rect, (TScreenRect{0, 0, 1920, 1080}));
  EXPECT_EQ(monitors[0].name, "LEFT");
  EXPECT_TRUE(monitors[0].primary);
  EXPECT_EQ(monitors[1].rect, (TScreenRect{1920, 0, 2944, 768}));
  EXPECT_EQ(VirtualDesktopRect(monitors), (TScreenRect{0, 0, 2944, 1080}));
}

TEST_F(TwoMonitorTest, Monitor2ChosenGrabsOnlyThePartOfTheWindowOnIt) {
  // A window across the boundary, focused (no window manager).
  TestWindow window(server->display(), {1700, 100, 2200, 400}, 0x20A040);
  ASSERT_TRUE(server->Xdotool({"windowfocus", "--sync", std::to_string(window.id())}));
  ASSERT_TRUE(WaitUntil([&] { return platform->windows->ActiveWindow() == window.id(); }));

  TScreenRect bounds;
  ApplyMonitorsChoice(bounds, *platform->screen, {false, false, true, false, false});
  ASSERT_EQ(bounds, (TScreenRect{1920, 0, 2944, 768}));

  NoBeep beeper;
  TGrabServices services{*platform->screen, *platform->cursor, *platform->windows,
                         *platform->sound, beeper};
  TGrabOptions options;
  TPictureBitmap picture;
  const TColor green = MakeColor(0x20, 0xA0, 0x40);
  // The window may need a moment to be drawn.
  ASSERT_TRUE(WaitUntil([&] {
    GrabForRequest(services, TCaptureArea::Window, bounds, {}, options, picture);
    return picture.Width() == 280 && picture.Pixel(0, 0) == green &&
           picture.Pixel(279, 299) == green;
  }));
  EXPECT_EQ(picture.Height(), 300);
}

TEST_F(TwoMonitorTest, MonitorUnpluggedWhileRunningShrinksWhatCanBeGrabbed) {
  TPictureBitmap picture;
  ASSERT_TRUE(platform->screen->GrabRect({1900, 0, 1940, 10}, picture));
  const std::string& d = server->display();
  ASSERT_EQ(RunCommand({"xrandr", "--delmonitor", "RIGHT"}, d), 0);
  ASSERT_EQ(RunCommand({"xrandr", "--fb", "1920x1080"}, d), 0);
  const std::vector<TMonitor> monitors = platform->screen->Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(VirtualDesktopRect(monitors), (TScreenRect{0, 0, 1920, 1080}));
  // The part beyond the new edge reads as black; the rest is still grabbed.
  picture.Fill(kWhite);
  EXPECT_TRUE(platform->screen->GrabRect({1900, 0, 1940, 10}, picture));
  EXPECT_EQ(picture.Width(), 40);
  EXPECT_EQ(picture.Pixel(25, 5), kBlack);
}

}  // namespace
}  // namespace vistrel::testing
