// Hotkeys where the desktop lends none: a Wayland compositor gives no
// client keys that reach it while another application is active. Every
// registration is refused, so the program says which keys it could not
// have; the desktop's own key bindings run the command line instead.
#pragma once

#include "platform/hotkeys.h"

namespace vistrel {

class NoGlobalHotkeys : public IHotkeys {
 public:
  bool Register(int, unsigned, unsigned) override { return false; }
  void Unregister(int) override {}
  void SetHandler(THandler) override {}
  int EventFd() const override { return -1; }
  bool ProcessPendingEvents() override { return true; }
  THotkeyLending Lending() const override { return THotkeyLending::None; }
};

}  // namespace vistrel
