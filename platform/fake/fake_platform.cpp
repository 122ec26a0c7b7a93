#include "platform/fake/fake_platform.h"

#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_screen_refresh.h"
#include "platform/fake/fake_screen_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenFakePlatform() {
  constexpr int kWidth = 1024, kHeight = 768;
  auto screen = std::make_unique<FakeScreenSource>();
  screen->monitors.push_back({TScreenRect{0, 0, kWidth, kHeight}, true, "FAKE-1"});
  screen->desktop.Allocate(kWidth, kHeight);
  screen->desktop.Fill(MakeColor(128, 128, 128));
  auto platform = std::make_unique<TPlatform>();
  platform->screen = std::move(screen);
  platform->cursor = std::make_unique<FakeCursorSource>();
  platform->windows = std::make_unique<FakeWindowSource>();
  platform->hotkeys = std::make_unique<FakeHotkeys>();
  platform->sound = std::make_unique<FakeSoundPlayer>();
  platform->refresh = std::make_unique<FakeScreenRefresh>();
  return platform;
}

}  // namespace vistrel
