// The desktop services of a Wayland session.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/wayland/sway_window_source.h"

namespace vistrel {

// Screen pixels from another source than the compositor's copies (the
// desktop portal), given the compositor's monitor layout.
using TOtherScreenSource =
    std::function<std::unique_ptr<IScreenSource>(std::unique_ptr<IScreenSource> layout)>;

// Windows where the compositor has no IPC that tells where they are.
using TOtherWindowSource = std::function<std::unique_ptr<IWindowSource>()>;

// Opens the compositor named by $WAYLAND_DISPLAY; windows come from the
// IPC socket named by $SWAYSOCK, `pointer` tells where the pointer is, or
// from `other_windows` without that socket. Pixels come from the
// compositor's copies of its outputs; from `other` where it makes none, or
// always when `prefer_other`. Nothing, with `error` set, when the
// compositor cannot be reached. Hotkeys are `hotkeys` (the desktop
// portal's), or none where that is null.
std::unique_ptr<TPlatform> OpenWaylandPlatform(std::string& error,
                                               SwayWindowSource::TPointerPosition pointer,
                                               const TOtherScreenSource& other, bool prefer_other,
                                               const TOtherWindowSource& other_windows,
                                               std::unique_ptr<IHotkeys> hotkeys);

}  // namespace vistrel
