#include "platform/hotkey_keys.h"

#include <X11/keysym.h>

namespace vistrel {

std::uint32_t KeysymForVirtualKey(unsigned vk) {
  if (vk >= 112 && vk <= 123) return XK_F1 + (vk - 112);
  if (vk >= 96 && vk <= 105) return XK_KP_0 + (vk - 96);
  // Letters by their unshifted keysym; the grab is on the key itself.
  if (vk >= 65 && vk <= 90) return XK_a + (vk - 65);
  switch (vk) {
    case 44: return XK_Print;
    case 33: return XK_Prior;
    case 34: return XK_Next;
    case 35: return XK_End;
    case 36: return XK_Home;
    case 106: return XK_KP_Multiply;
    case 107: return XK_KP_Add;
    case 109: return XK_KP_Subtract;
    case 111: return XK_KP_Divide;
    case 19: return XK_Pause;
    default: return 0;
  }
}

int X11ModifiersForFlags(unsigned flags) {
  if (flags & ~(kHotkeyAlt | kHotkeyCtrl | kHotkeyShift)) return -1;
  int mask = 0;
  if (flags & kHotkeyAlt) mask |= 1 << 3;    // Mod1Mask
  if (flags & kHotkeyCtrl) mask |= 1 << 2;   // ControlMask
  if (flags & kHotkeyShift) mask |= 1 << 0;  // ShiftMask
  return mask;
}

}  // namespace vistrel
