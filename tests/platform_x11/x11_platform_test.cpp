// The X11 backend against real X servers (Xvfb, openbox, xdotool).
#include <gtest/gtest.h>
#include <unistd.h>
#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>

#include "platform/hotkey_keys.h"
#include "platform/platform.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_screen_source.h"
#include "test_window.h"
#include "x_test_server.h"

namespace vistrel::testing {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr unsigned kPrintKey = 44;
constexpr unsigned kF7Key = 118;

class X11PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    server = XTestServer::StartXvfb(kWidth, kHeight, error);
    ASSERT_TRUE(server) << error;
    platform = OpenDesktopPlatform(error, server->display().c_str());
    ASSERT_TRUE(platform) << error;
  }

  // Waits until `hotkeys` delivered a hotkey; its id, or -1.
  static int NextHotkey(IHotkeys& hotkeys) {
    int pressed = -1;
    hotkeys.SetHandler([&pressed](int id) { pressed = id; });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (pressed < 0 && std::chrono::steady_clock::now() < end) {
      pollfd pfd{hotkeys.EventFd(), POLLIN, 0};
      poll(&pfd, 1, 100);
      hotkeys.ProcessPendingEvents();
    }
    return pressed;
  }

  std::unique_ptr<XTestServer> server;
  std::unique_ptr<TPlatform> platform;
};

bool SameArea(const TPictureBitmap& grabbed, const TPictureBitmap& desktop, int left, int top) {
  for (int y = 0; y < grabbed.Height(); ++y)
    for (int x = 0; x < grabbed.Width(); ++x)
      if (grabbed.Pixel(x, y) != desktop.Pixel(left + x, top + y)) return false;
  return true;
}

TEST_F(X11PlatformTest, OneScreenIsOnePrimaryMonitor) {
  const std::vector<TMonitor> monitors = platform->screen->Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_EQ(monitors[0].rect, (TScreenRect{0, 0, kWidth, kHeight}));
  EXPECT_TRUE(monitors[0].primary);
}

TEST_F(X11PlatformTest, GrabReturnsExactlyTheDesktopPixels) {
  const TPictureBitmap desktop = MakeDesktopTestPicture(kWidth, kHeight);
  ASSERT_TRUE(server->SetDesktopPicture(desktop));
  std::string error;
  auto conn = X11Connection::Open(server->display().c_str(), error);
  ASSERT_TRUE(conn);
  X11ScreenSource shared(conn, true);
  X11ScreenSource plain(conn, false);
  for (X11ScreenSource* source : {&shared, &plain}) {
    TPictureBitmap picture;
    ASSERT_TRUE(source->GrabRect({0, 0, kWidth, kHeight}, picture));
    EXPECT_TRUE(picture == desktop) << (source == &shared ? "shared memory" : "GetImage");
    ASSERT_TRUE(source->GrabRect({101, 53, 404, 300}, picture));
    ASSERT_EQ(picture.Width(), 303);
    EXPECT_TRUE(SameArea(picture, desktop, 101, 53));
  }
  EXPECT_TRUE(shared.UsesSharedMemory());
}

TEST_F(X11PlatformTest, GrabBeyondTheScreenIsBlackThere) {
  const TPictureBitmap desktop = MakeDesktopTestPicture(kWidth, kHeight);
  ASSERT_TRUE(server->SetDesktopPicture(desktop));
  TPictureBitmap picture;
  ASSERT_TRUE(platform->screen->GrabRect({kWidth - 30, kHeight - 20, kWidth + 10, kHeight + 5},
                                         picture));
  ASSERT_EQ(picture.Width(), 40);
  ASSERT_EQ(picture.Height(), 25);
  EXPECT_EQ(picture.Pixel(29, 19), desktop.Pixel(kWidth - 1, kHeight - 1));
  EXPECT_EQ(picture.Pixel(30, 10), kBlack);
  EXPECT_EQ(picture.Pixel(5, 20), kBlack);
  ASSERT_TRUE(platform->screen->GrabRect({-50, -50, -10, -10}, picture));
  EXPECT_EQ(picture.Pixel(0, 0), kBlack);
}

TEST_F(X11PlatformTest, HotkeyHeldByAnotherClientIsRefused) {
  std::string error;
  auto other = OpenDesktopPlatform(error, server->display().c_str());
  ASSERT_TRUE(other) << error;
  EXPECT_TRUE(platform->hotkeys->Register(1000, 0, kPrintKey));
  EXPECT_FALSE(other->hotkeys->Register(1000, 0, kPrintKey));
  EXPECT_TRUE(other->hotkeys->Register(1003, kHotkeyAlt, kPrintKey));
  // The same combination under a second id of the same program.
  EXPECT_FALSE(platform->hotkeys->Register(1001, 0, kPrintKey));
  // Once released, the other client may have it.
  platform->hotkeys->Unregister(1000);
  EXPECT_TRUE(other->hotkeys->Register(1000, 0, kPrintKey));
  EXPECT_FALSE(platform->hotkeys->Register(1002, 0, 0));  // no key
}

TEST_F(X11PlatformTest, PressedHotkeyDeliversItsId) {
  IHotkeys& hotkeys = *platform->hotkeys;
  ASSERT_TRUE(hotkeys.Register(1000, 0, kPrintKey));
  ASSERT_TRUE(hotkeys.Register(1003, kHotkeyAlt, kPrintKey));
  ASSERT_TRUE(hotkeys.Register(1004, kHotkeyCtrl | kHotkeyShift, kF7Key));
  ASSERT_TRUE(server->Xdotool({"key", "Print"}));
  EXPECT_EQ(NextHotkey(hotkeys), 1000);
  ASSERT_TRUE(server->Xdotool({"key", "alt+Print"}));
  EXPECT_EQ(NextHotkey(hotkeys), 1003);
  ASSERT_TRUE(server->Xdotool({"key", "ctrl+shift+F7"}));
  EXPECT_EQ(NextHotkey(hotkeys), 1004);
}

TEST_F(X11PlatformTest, HotkeyWorksWithNumLockOn) {
  IHotkeys& hotkeys = *platform->hotkeys;
  ASSERT_TRUE(hotkeys.Register(1002, kHotkeyCtrl, 109));  // Ctrl + keypad minus
  ASSERT_TRUE(server->Xdotool({"key", "Num_Lock"}));
  ASSERT_TRUE(server->Xdotool({"key", "ctrl+KP_Subtract"}));
  EXPECT_EQ(NextHotkey(hotkeys), 1002);
}

TEST_F(X11PlatformTest, UnregisteredHotkeyNoLongerArrives) {
  IHotkeys& hotkeys = *platform->hotkeys;
  ASSERT_TRUE(hotkeys.Register(1000, 0, kPrintKey));
  ASSERT_TRUE(hotkeys.Register(1001, 0, kF7Key));
  hotkeys.Unregister(1000);
  ASSERT_TRUE(server->Xdotool({"key", "Print"}));
  ASSERT_TRUE(server->Xdotool({"key", "F7"}));
  // F7 was pressed after Print, so Print would have come first.
  EXPECT_EQ(NextHotkey(hotkeys), 1001);
}

TEST_F(X11PlatformTest, CursorImageAndPosition) {
  ASSERT_TRUE(server->Xdotool({"mousemove", "300", "200"}));
  const std::optional<TCursorImage> cursor = platform->cursor->CurrentCursor();
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->x, 300);
  EXPECT_EQ(cursor->y, 200);
  ASSERT_GT(cursor->width, 0);
  ASSERT_GT(cursor->height, 0);
  EXPECT_EQ(cursor->argb.size(), std::size_t(cursor->width * cursor->height));
  EXPECT_LT(cursor->hotspot_x, cursor->width);
  EXPECT_LT(cursor->hotspot_y, cursor->height);
}

TEST_F(X11PlatformTest, WithoutWindowManagerTheFocusedWindowIsActive) {
  TestWindow window(server->display(), {100, 120, 400, 320}, 0x3060C0);
  ASSERT_TRUE(server->Xdotool({"windowfocus", "--sync", std::to_string(window.id())}));
  IWindowSource& windows = *platform->windows;
  EXPECT_EQ(windows.ActiveWindow(), window.id());
  EXPECT_EQ(windows.ClientRect(window.id()), (TScreenRect{100, 120, 400, 320}));
  EXPECT_EQ(windows.OuterRect(window.id()), (TScreenRect{100, 120, 400, 320}));
}

class X11WindowManagerTest : public X11PlatformTest {
 protected:
  void SetUp() override {
    X11PlatformTest::SetUp();
    ASSERT_TRUE(server->StartWindowManager());
    desktop = MakeDesktopTestPicture(kWidth, kHeight);
    ASSERT_TRUE(server->SetDesktopPicture(desktop));
  }

  TPictureBitmap desktop;
};

TEST_F(X11WindowManagerTest, ActiveWindowRectanglesMatchWhatIsOnScreen) {
  constexpr std::uint32_t kBlue = 0x3060C0;
  TestWindow window(server->display(), {200, 150, 600, 450}, kBlue);
  ASSERT_TRUE(server->Xdotool({"windowactivate", "--sync", std::to_string(window.id())}));
  IWindowSource& windows = *platform->windows;
  ASSERT_TRUE(WaitUntil([&] { return windows.ActiveWindow() == window.id(); }));

  const std::optional<TScreenRect> client = windows.ClientRect(window.id());
  const std::optional<TScreenRect> outer = windows.OuterRect(window.id());
  ASSERT_TRUE(client && outer);
  EXPECT_EQ(client->Width(), 400);
  EXPECT_EQ(client->Height(), 300);
  // The frame adds a title bar above and borders around.
  EXPECT_LT(outer->top, client->top - 10);
  EXPECT_LE(outer->left, client->left);
  EXPECT_GE(outer->right, client->right);
  EXPECT_GE(outer->bottom, client->bottom);

  // Wait for the window to be drawn, then compare with the screen.
  TPictureBitmap screen;
  const TColor blue = MakeColor(0x30, 0x60, 0xC0);
  ASSERT_TRUE(WaitUntil([&] {
    platform->screen->GrabRect({0, 0, kWidth, kHeight}, screen);
    return screen.Pixel(client->left, client->top) == blue &&
           screen.Pixel(client->right - 1, client->bottom - 1) == blue;
  }));
  const int mid_x = (client->left + client->right) / 2;
  EXPECT_NE(screen.Pixel(mid_x, client->top - 1), blue);  // frame just above the client
  // Outside the outer rectangle the desktop shows; on its edge the frame does.
  EXPECT_EQ(screen.Pixel(mid_x, outer->top - 1), desktop.Pixel(mid_x, outer->top - 1));
  EXPECT_EQ(screen.Pixel(mid_x, outer->bottom), desktop.Pixel(mid_x, outer->bottom));
  EXPECT_NE(screen.Pixel(mid_x, outer->top), desktop.Pixel(mid_x, outer->top));
  const int mid_y = (outer->top + outer->bottom) / 2;
  EXPECT_EQ(screen.Pixel(outer->left - 1, mid_y), desktop.Pixel(outer->left - 1, mid_y));
  EXPECT_EQ(screen.Pixel(outer->right, mid_y), desktop.Pixel(outer->right, mid_y));
}

TEST_F(X11WindowManagerTest, MinimisedWindowHasNoClientArea) {
  TestWindow window(server->display(), {200, 150, 600, 450}, 0x3060C0);
  ASSERT_TRUE(server->Xdotool({"windowactivate", "--sync", std::to_string(window.id())}));
  IWindowSource& windows = *platform->windows;
  auto client_width = [&] { return windows.ClientRect(window.id()).value_or(TScreenRect{}).Width(); };
  ASSERT_TRUE(WaitUntil([&] { return client_width() == 400; }));
  ASSERT_TRUE(server->Xdotool({"windowminimize", "--sync", std::to_string(window.id())}));
  // The manager unmaps the window on its own time.
  EXPECT_TRUE(WaitUntil([&] { return windows.ClientRect(window.id()) == TScreenRect{}; }));
  EXPECT_TRUE(windows.OuterRect(window.id()));
}

TEST_F(X11WindowManagerTest, PointedObjectIsTheControlOrTheWholeWindow) {
  TestWindow window(server->display(), {200, 150, 600, 450}, 0x3060C0);
  const std::uint32_t button = window.AddChild({20, 30, 100, 60}, 0xC0C0C0);
  ASSERT_TRUE(server->Xdotool({"windowactivate", "--sync", std::to_string(window.id())}));
  IWindowSource& windows = *platform->windows;
  ASSERT_TRUE(WaitUntil([&] { return windows.ActiveWindow() == window.id(); }));
  const TScreenRect client = *windows.ClientRect(window.id());
  const TScreenRect outer = *windows.OuterRect(window.id());

  auto pointed_at = [&](int x, int y) {
    EXPECT_TRUE(server->Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)}));
    return windows.WindowUnderPointer();
  };
  std::optional<TPointedWindow> pointed = pointed_at(client.left + 50, client.top + 40);
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->window, button);
  EXPECT_EQ(pointed->rect, (TScreenRect{client.left + 20, client.top + 30, client.left + 100,
                                        client.top + 60}));
  pointed = pointed_at(client.left + 300, client.top + 200);
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->window, window.id());
  EXPECT_EQ(pointed->rect, outer);
  pointed = pointed_at(client.left + 200, (outer.top + client.top) / 2);  // title bar
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->rect, outer);
  pointed = pointed_at(kWidth - 5, kHeight - 5);  // bare desktop
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->rect, (TScreenRect{0, 0, kWidth, kHeight}));
}

TEST_F(X11WindowManagerTest, PointingLooksThroughTheProgramsOwnWindows) {
  TestWindow other(server->display(), {200, 150, 600, 450}, 0x3060C0);
  ASSERT_TRUE(server->Xdotool({"windowactivate", "--sync", std::to_string(other.id())}));
  // One of this program's windows on top, still being taken off the screen.
  TestWindow own(server->display(), {150, 100, 650, 500}, 0xC06030);
  own.SetProcessId(std::uint32_t(getpid()));
  ASSERT_TRUE(server->Xdotool({"windowactivate", "--sync", std::to_string(own.id())}));
  IWindowSource& windows = *platform->windows;
  ASSERT_TRUE(WaitUntil([&] { return windows.ActiveWindow() == own.id(); }));
  ASSERT_TRUE(server->Xdotool({"mousemove", "--sync", "400", "300"}));
  const std::optional<TPointedWindow> pointed = windows.WindowUnderPointer();
  ASSERT_TRUE(pointed);
  EXPECT_EQ(pointed->window, other.id());
  EXPECT_EQ(pointed->rect, windows.OuterRect(other.id()));
}

TEST(X11PlatformLoader, UnreachableDisplayIsReportedClearly) {
  std::string error;
  EXPECT_FALSE(OpenDesktopPlatform(error, ":4711"));
  EXPECT_EQ(error, "Cannot open the X display \":4711\"");
  EXPECT_FALSE(OpenDesktopPlatform(error, ""));
  EXPECT_EQ(error, "No X display: DISPLAY is not set");
}


// A window of another client that counts the repaint requests it gets.
class ExposeCounter {
 public:
  explicit ExposeCounter(const std::string& display) : conn_(xcb_connect(display.c_str(), nullptr)) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    window_ = xcb_generate_id(conn_);
    const std::uint32_t values[] = {0x336699, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(conn_, XCB_COPY_FROM_PARENT, window_, screen->root, 100, 100, 200, 150, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(conn_, window_);
    xcb_flush(conn_);
  }
  ~ExposeCounter() { xcb_disconnect(conn_); }

  // Waits (with a deadline) for the next repaint request.
  bool NextExpose() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < end) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(conn_)) {
        const bool expose = (event->response_type & 0x7F) == XCB_EXPOSE;
        std::free(event);
        if (expose) return true;
      }
      pollfd pfd{xcb_get_file_descriptor(conn_), POLLIN, 0};
      poll(&pfd, 1, 100);
    }
    return false;
  }
  // Drops what has arrived so far (the first exposure after mapping).
  void Drain() {
    std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(conn_)) std::free(event);
  }

 private:
  xcb_connection_t* conn_;
  std::uint32_t window_ = 0;
};

TEST_F(X11PlatformTest, RefreshScreenMakesOtherWindowsRepaint) {
  ExposeCounter other(server->display());
  ASSERT_TRUE(other.NextExpose());  // mapped
  other.Drain();
  const TPictureBitmap before = [&] {
    TPictureBitmap picture;
    platform->screen->GrabRect(TScreenRect{0, 0, kWidth, kHeight}, picture);
    return picture;
  }();
  platform->refresh->RefreshScreen();
  EXPECT_TRUE(other.NextExpose());
  // Nothing of the covering window stays on the screen.
  TPictureBitmap after;
  platform->screen->GrabRect(TScreenRect{0, 0, kWidth, kHeight}, after);
  EXPECT_TRUE(SameArea(after, before, 0, 0));
}

}  // namespace
}  // namespace vistrel::testing
