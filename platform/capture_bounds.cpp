#include "platform/capture_bounds.h"

namespace vistrel {

TScreenRect CaptureBoundsFor(const std::vector<TMonitor>& monitors, int index) {
  if (index >= 0 && std::size_t(index) < monitors.size()) return monitors[std::size_t(index)].rect;
  return VirtualDesktopRect(monitors);
}

void SetCaptureBounds(TScreenRect& bounds, IScreenSource& screen, int index) {
  bounds = CaptureBoundsFor(screen.Monitors(), index);
}

void ApplyMonitorsChoice(TScreenRect& bounds, IScreenSource& screen,
                         const TMonitorsChoice& choice) {
  const std::vector<TMonitor> monitors = screen.Monitors();
  bounds = CaptureBoundsFor(monitors, kAllMonitors);
  for (int item = 0; item < int(choice.size()); ++item)
    if (choice[std::size_t(item)]) bounds = CaptureBoundsFor(monitors, item - 1);
}

}  // namespace vistrel
