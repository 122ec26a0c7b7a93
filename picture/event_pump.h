// The pending-event pump of long steps in the picture window (progress,
// creation, loading, opening dialogs).
#pragma once

#include <QApplication>
#include <QEventLoop>

namespace vistrel {

// Paints, timers, sockets (another copy's close request, a signal) and the
// window manager's pings are served; user input waits until the step has
// ended. Delivered here, a click would start a command inside the one
// running: the release of a click on a slider's track, say, would arrive
// before the slider has started its page repeat, which then never stops.
inline void PumpPendingEvents() {
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vistrel
