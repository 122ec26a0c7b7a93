// The rectangle the window capture modes take.
#pragma once

#include "platform/window_source.h"

namespace vistrel {

// The foreground window's client area (`client_area_only`) or its outer
// rectangle, frame included, in screen coordinates. Empty when there is no
// foreground window or it has no client area (minimised), so that the grab
// takes the whole capture bounds.
TScreenRect ActiveWindowRect(IWindowSource& windows, bool client_area_only);

}  // namespace vistrel
