// Windows on Wayland desktops that tell no program where windows are
// (no compositor IPC): nothing is known of any window, and a window
// capture is the user's pick in the desktop portal's interactive
// screenshot dialog.
#pragma once

#include "platform/window_source.h"

namespace vistrel {

class PortalWindowSource : public IWindowSource {
 public:
  TWindowId ActiveWindow() override { return 0; }
  std::optional<TScreenRect> OuterRect(TWindowId) override { return std::nullopt; }
  std::optional<TScreenRect> ClientRect(TWindowId) override { return std::nullopt; }
  std::optional<TPointedWindow> WindowUnderPointer() override { return std::nullopt; }
  std::optional<TPointedWindow> WindowAt(int, int) override { return std::nullopt; }

  bool PicksInteractively() const override { return true; }
  TWindowPick PickWindow() override;
};

}  // namespace vistrel
