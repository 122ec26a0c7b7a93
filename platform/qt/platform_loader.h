// The loader: opens the desktop services the environment asks for (see
// platform_choice.h), with what they need from the program's own windows.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/platform_choice.h"

namespace vistrel {

// On Wayland the pictures come from the desktop portal where the compositor
// copies the screen for no client, or when VISTREL_GRABS=portal; hotkeys
// come from the portal where it assigns keys. Nothing,
// with `error` saying why, when that desktop cannot be opened.
std::unique_ptr<TPlatform> OpenPlatform(TPlatformKind kind, std::string& error);

}  // namespace vistrel
