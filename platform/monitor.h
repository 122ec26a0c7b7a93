// The monitors of the desktop as the screen source reports them.
#pragma once

#include <string>
#include <vector>

#include "platform/screen_rect.h"

namespace vistrel {

struct TMonitor {
  TScreenRect rect;  // device pixels, root window coordinates
  bool primary = false;
  std::string name;
};

// The virtual desktop: the union of all monitors (empty without monitors).
TScreenRect VirtualDesktopRect(const std::vector<TMonitor>& monitors);

}  // namespace vistrel
