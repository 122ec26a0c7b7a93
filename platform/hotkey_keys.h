// The keys and modifiers a hotkey may use: from the stored Windows
// virtual-key codes and modifier flags to X keysyms and modifier masks.
#pragma once

#include <cstdint>

namespace vistrel {

// Modifier flags as stored with a hotkey.
constexpr unsigned kHotkeyAlt = 1;
constexpr unsigned kHotkeyCtrl = 2;
constexpr unsigned kHotkeyShift = 4;

// The X keysym for an accepted virtual-key code; 0 for any other code,
// 0 itself ("no key") included.
std::uint32_t KeysymForVirtualKey(unsigned virtual_key);

// The X modifier mask (Mod1 for Alt, Control, Shift) for the stored flags;
// -1 when the flags hold anything else.
int X11ModifiersForFlags(unsigned modifier_flags);

}  // namespace vistrel
