#include "platform/qt/shortcut_trigger.h"

#include <xkbcommon/xkbcommon.h>

#include "platform/hotkey_keys.h"

namespace vistrel {

std::string ShortcutTrigger(unsigned flags, unsigned virtual_key) {
  const std::uint32_t keysym = KeysymForVirtualKey(virtual_key);
  char name[64];
  if (keysym == 0 || X11ModifiersForFlags(flags) < 0 ||
      xkb_keysym_get_name(keysym, name, sizeof name) <= 0)
    return {};
  std::string trigger;
  if (flags & kHotkeyCtrl) trigger += "CTRL+";
  if (flags & kHotkeyAlt) trigger += "ALT+";
  if (flags & kHotkeyShift) trigger += "SHIFT+";
  return trigger + name;
}

}  // namespace vistrel
