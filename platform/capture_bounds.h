// The area every grab is confined to: the whole desktop or one monitor.
#pragma once

#include <array>
#include <vector>

#include "platform/monitor.h"
#include "platform/screen_source.h"

namespace vistrel {

constexpr int kAllMonitors = -1;

// Bounds for a Monitors menu index: -1 the whole virtual desktop, 0 to 3
// monitor 1 to 4 in the system's order. A monitor that is not there (it was
// unplugged since the choice was stored) gives the whole desktop.
TScreenRect CaptureBoundsFor(const std::vector<TMonitor>& monitors, int index);

// SetCaptureBounds: `bounds` := the bounds for `index` on the current monitors.
void SetCaptureBounds(TScreenRect& bounds, IScreenSource& screen, int index);

// The check marks of the Monitors menu: [0] "All Monitors", [1] to [4]
// "Monitor 1" to "Monitor 4" (settings Monitor_0 .. Monitor_4).
using TMonitorsChoice = std::array<bool, 5>;

// What a new picture window does: the whole desktop first, then each checked
// item in menu order, so the last checked item decides.
void ApplyMonitorsChoice(TScreenRect& bounds, IScreenSource& screen,
                         const TMonitorsChoice& choice);

}  // namespace vistrel
