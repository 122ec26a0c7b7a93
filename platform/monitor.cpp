#include "platform/monitor.h"

namespace vistrel {

TScreenRect VirtualDesktopRect(const std::vector<TMonitor>& monitors) {
  TScreenRect desktop;
  for (const TMonitor& m : monitors) desktop = Union(desktop, m.rect);
  return desktop;
}

}  // namespace vistrel
