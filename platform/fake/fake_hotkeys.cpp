#include "platform/fake/fake_hotkeys.h"

#include "platform/hotkey_keys.h"

namespace vistrel {

bool FakeHotkeys::Register(int id, unsigned modifier_flags, unsigned virtual_key) {
  registered.erase(id);
  const Combination combination{modifier_flags, virtual_key};
  if (!KeysymForVirtualKey(virtual_key) || X11ModifiersForFlags(modifier_flags) < 0 ||
      held_by_others.count(combination))
    return false;
  for (const auto& [other, taken] : registered)
    if (taken == combination) return false;
  registered[id] = combination;
  return true;
}

bool FakeHotkeys::Press(unsigned modifier_flags, unsigned virtual_key) {
  for (const auto& [id, combination] : registered) {
    if (combination == Combination{modifier_flags, virtual_key}) {
      if (handler_) {
        THandler handler = handler_;
        handler(id);
      }
      return true;
    }
  }
  return false;
}

}  // namespace vistrel
