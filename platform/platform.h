// The desktop services the program uses, and the loader that opens them.
#pragma once

#include <memory>
#include <string>

#include "platform/cursor_source.h"
#include "platform/hotkeys.h"
#include "platform/screen_refresh.h"
#include "platform/screen_source.h"
#include "platform/sound_player.h"
#include "platform/window_source.h"

namespace vistrel {

struct TPlatform {
  std::unique_ptr<IScreenSource> screen;
  std::unique_ptr<ICursorSource> cursor;
  std::unique_ptr<IWindowSource> windows;
  std::unique_ptr<IHotkeys> hotkeys;
  std::unique_ptr<ISoundPlayer> sound;
  std::unique_ptr<IScreenRefresh> refresh;
};

// Opens the X11 desktop named by `display` ($DISPLAY when null). Without a
// reachable X server it returns nullptr and says why in `error`, e.g.
// "Cannot open the X display ":7"".
std::unique_ptr<TPlatform> OpenDesktopPlatform(std::string& error, const char* display = nullptr);

}  // namespace vistrel
