// A picture window over the fake desktop, with its settings in a folder of
// its own.
#pragma once

#include <gtest/gtest.h>

#include <QMenu>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "settings/settings_store.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "picture/TMainForm1.h"
#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_screen_refresh.h"
#include "platform/fake/fake_screen_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"
#include "platform/platform.h"

namespace vistrel::testing {

inline TColor DesktopColour(int x, int y) {
  return MakeColor(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x >> 8));
}

class PictureWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    platform_.screen = std::make_unique<FakeScreenSource>();
    platform_.cursor = std::make_unique<FakeCursorSource>();
    platform_.windows = std::make_unique<FakeWindowSource>();
    platform_.hotkeys = std::make_unique<FakeHotkeys>();
    platform_.sound = std::make_unique<FakeSoundPlayer>();
    platform_.refresh = std::make_unique<FakeScreenRefresh>();
    SetDesktop({{TScreenRect{0, 0, 1024, 768}, true, "ONE"}});
  }

  // Monitors over a desktop picture whose every pixel tells where it is.
  void SetDesktop(std::vector<TMonitor> monitors) {
    FakeScreenSource& screen = Screen();
    screen.monitors = std::move(monitors);
    const TScreenRect all = VirtualDesktopRect(screen.monitors);
    screen.desktop.Allocate(all.right, all.bottom);
    for (int y = 0; y < all.bottom; ++y)
      for (int x = 0; x < all.right; ++x) screen.desktop.SetPixel(x, y, DesktopColour(x, y));
  }

  FakeScreenSource& Screen() { return static_cast<FakeScreenSource&>(*platform_.screen); }

  // A window as a capture makes it: the settings and the grab first.
  std::unique_ptr<TMainForm1> NewWindow(const TCaptureRequest& request = RequestForOpen()) {
    LoadCaptureSettings(context_);
    return std::make_unique<TMainForm1>(context_, GrabForCaptureRequest(context_, request));
  }

  // A value of "Setup\OtherOptions" as a window will find it.
  void Store(const std::string& key, int value) {
    SettingsStore store;
    store.WriteInteger(kOtherOptionsSection, key, value);
    store.Close();
  }
  void StoreBool(const std::string& key, bool value) {
    SettingsStore store;
    store.WriteBool(kOtherOptionsSection, key, value);
    store.Close();
  }
  void StoreString(const std::string& key, const std::string& value) {
    SettingsStore store;
    store.WriteString(kOtherOptionsSection, key, value);
    store.Close();
  }
  int StoredInteger(const std::string& key) const {
    return SettingsStore().ReadInteger(kOtherOptionsSection, key, -12345);
  }
  bool StoredBool(const std::string& key) const {
    return SettingsStore().ReadBool(kOtherOptionsSection, key, false);
  }

  QTemporaryDir config_;
  TPlatform platform_;
  FakeBeeper beeper_;
  TActionList1 commands_;
  TrayOptions tray_;
  TAppContext context_{commands_, tray_, platform_, beeper_, [] { return false; }};
};

// Item texts of a menu, "-" for a separator.
inline QStringList MenuTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions())
    texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

inline QAction* FindItem(const QMenu* menu, const QString& text) {
  for (QAction* action : menu->actions())
    if (action->text() == text) return action;
  return nullptr;
}

}  // namespace vistrel::testing
