#include "platform/platform.h"

#include "platform/alsa/alsa_sound_player.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_cursor_source.h"
#include "platform/x11/x11_hotkeys.h"
#include "platform/x11/x11_screen_refresh.h"
#include "platform/x11/x11_screen_source.h"
#include "platform/x11/x11_window_source.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenDesktopPlatform(std::string& error, const char* display) {
  std::shared_ptr<X11Connection> main = X11Connection::Open(display, error);
  if (!main) return nullptr;
  // Hotkey events get a connection of their own, so its descriptor wakes the
  // event loop for them alone.
  std::shared_ptr<X11Connection> keys = X11Connection::Open(display, error);
  if (!keys) return nullptr;
  auto platform = std::make_unique<TPlatform>();
  platform->screen = std::make_unique<X11ScreenSource>(main);
  platform->cursor = std::make_unique<X11CursorSource>(main);
  platform->windows = std::make_unique<X11WindowSource>(main);
  platform->hotkeys = std::make_unique<X11Hotkeys>(keys);
  platform->sound = std::make_unique<AlsaSoundPlayer>();
  platform->refresh = std::make_unique<X11ScreenRefresh>(main);
  return platform;
}

}  // namespace vistrel
