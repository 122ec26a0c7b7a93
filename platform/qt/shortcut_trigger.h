// A stored hotkey as desktops write shortcuts for their portals: modifiers
// CTRL, ALT, SHIFT and an xkbcommon key name, joined by "+".
#pragma once

#include <string>

namespace vistrel {

// "Print", "ALT+Print", "CTRL+SHIFT+KP_5", "CTRL+a"; empty for a key code
// that is not one of the accepted keys or flags with anything else in them.
std::string ShortcutTrigger(unsigned modifier_flags, unsigned virtual_key);

}  // namespace vistrel
