#include "capture/active_window_rect.h"

namespace vistrel {

TScreenRect ActiveWindowRect(IWindowSource& windows, bool client_area_only) {
  const TWindowId window = windows.ActiveWindow();
  if (!window) return TScreenRect{};
  const std::optional<TScreenRect> rect =
      client_area_only ? windows.ClientRect(window) : windows.OuterRect(window);
  return rect.value_or(TScreenRect{});
}

}  // namespace vistrel
