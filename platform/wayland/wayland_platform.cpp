#include "platform/wayland/wayland_platform.h"

#include <cstdlib>

#include "platform/alsa/alsa_sound_player.h"
#include "platform/wayland/composed_screen_refresh.h"
#include "platform/wayland/no_global_hotkeys.h"
#include "platform/wayland/wayland_cursor_source.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_screen_source.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenWaylandPlatform(std::string& error,
                                               SwayWindowSource::TPointerPosition pointer,
                                               const TOtherScreenSource& other, bool prefer_other,
                                               const TOtherWindowSource& other_windows,
                                               std::unique_ptr<IHotkeys> hotkeys) {
  std::shared_ptr<WaylandDisplay> display = WaylandDisplay::Open(nullptr, error);
  if (!display) return nullptr;
  const char* sway_socket = std::getenv("SWAYSOCK");
  auto platform = std::make_unique<TPlatform>();
  auto copies = std::make_unique<WaylandScreenSource>(display);
  platform->screen = prefer_other || !display->CanCopyOutputs() ? other(std::move(copies))
                                                                : std::move(copies);
  // Without copies by the compositor there is no cursor to be had.
  platform->cursor = std::make_unique<WaylandCursorSource>(display);
  if (sway_socket && *sway_socket)
    platform->windows = std::make_unique<SwayWindowSource>(display, sway_socket, std::move(pointer));
  else
    platform->windows = other_windows();
  platform->hotkeys = hotkeys ? std::move(hotkeys) : std::make_unique<NoGlobalHotkeys>();
  platform->sound = std::make_unique<AlsaSoundPlayer>();
  platform->refresh = std::make_unique<ComposedScreenRefresh>();
  return platform;
}

}  // namespace vistrel
