// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, the end of the session) close
// the program through its normal exit sequence, so no setting is lost.
#pragma once

#include <functional>

class QObject;

namespace vistrel {

// Installs the handlers; `on_signal` runs on the user-interface thread.
void RouteExitSignals(QObject* owner, std::function<void()> on_signal);

}  // namespace vistrel
