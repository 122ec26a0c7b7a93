// The desktop services of a Wayland session.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/wayland/sway_window_source.h"

namespace vistrel {

// Opens the compositor named by $WAYLAND_DISPLAY; windows come from the
// IPC socket named by $SWAYSOCK, `pointer` tells where the pointer is.
// Nothing, with `error` set, when the compositor cannot be reached or
// copies no screen pixels for clients.
std::unique_ptr<TPlatform> OpenWaylandPlatform(std::string& error,
                                               SwayWindowSource::TPointerPosition pointer);

}  // namespace vistrel
