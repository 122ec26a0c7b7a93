// Hotkeys delivered by a Qt event loop through THotkeyNotifier.
#include "platform/qt/hotkey_notifier.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/platform.h"
#include "x_test_server.h"

namespace vistrel::testing {
namespace {

TEST(HotkeyNotifier, QtEventLoopReceivesThePressedHotkey) {
  int argc = 1;
  char name[] = "hotkey_notifier_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

  std::string error;
  auto server = XTestServer::StartXvfb(640, 480, error);
  ASSERT_TRUE(server) << error;
  auto platform = OpenDesktopPlatform(error, server->display().c_str());
  ASSERT_TRUE(platform) << error;
  ASSERT_TRUE(platform->hotkeys->Register(1003, 1, 44));  // Alt+Print

  QEventLoop loop;
  int pressed = -1;
  platform->hotkeys->SetHandler([&](int id) {
    pressed = id;
    loop.quit();
  });
  THotkeyNotifier notifier(*platform->hotkeys);
  ChildProcess xdotool({"xdotool", "key", "alt+Print"}, server->display());
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);  // deadline only
  loop.exec();
  EXPECT_EQ(pressed, 1003);
  EXPECT_EQ(xdotool.Wait(std::chrono::seconds(20)), 0);
}

}  // namespace
}  // namespace vistrel::testing
