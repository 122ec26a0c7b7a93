// The desktop the program runs on when asked for the fake one
// (VISTREL_PLATFORM=fake): one monitor of a plain grey screen, no other
// windows, every hotkey granted and never pressed, no sound device.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenFakePlatform();

}  // namespace vistrel
