// A made-up 800 x 600 desktop for the preview programs, which open a window
// or dialog so that it can be looked at: a gradient with a checkerboard in
// its blue channel, so scaling and placement faults show.
#pragma once

#include <cstdint>
#include <memory>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_screen_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"
#include "platform/platform.h"
#include "settings/other_options.h"

namespace vistrel::testing {

struct TPreviewDesktop {
  TPreviewDesktop() {
    auto screen = std::make_unique<FakeScreenSource>();
    screen->monitors = {TMonitor{TScreenRect{0, 0, 800, 600}, true, "ONE"}};
    screen->desktop.Allocate(800, 600);
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x)
        screen->desktop.SetPixel(x, y, MakeColor(std::uint8_t(x / 4), std::uint8_t(y / 3),
                                                 std::uint8_t(((x / 40 + y / 40) & 1) * 160)));
    platform.screen = std::move(screen);
    platform.cursor = std::make_unique<FakeCursorSource>();
    platform.windows = std::make_unique<FakeWindowSource>();
    platform.hotkeys = std::make_unique<FakeHotkeys>();
    platform.sound = std::make_unique<FakeSoundPlayer>();
  }

  TPlatform platform;
  FakeBeeper beeper;
  TActionList1 commands;
  TrayOptions tray;
  TAppContext context{commands, tray, platform, beeper, [] { return false; }};
};

}  // namespace vistrel::testing
