// System-wide hotkeys on X: XGrabKey on the root window, on a connection of
// their own so that its file descriptor carries nothing but hotkey events.
//
// Events read while a request waits for its reply (during Register) stay in
// xcb's queue until the descriptor wakes up again; the key release that
// follows every press does that, so nothing is lost.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/hotkeys.h"

struct xcb_connection_t;
struct _XCBKeySymbols;

namespace vistrel {

class X11Connection;

class X11Hotkeys : public IHotkeys {
 public:
  explicit X11Hotkeys(std::shared_ptr<X11Connection> conn);
  ~X11Hotkeys() override;

  bool Register(int id, unsigned modifier_flags, unsigned virtual_key) override;
  void Unregister(int id) override;
  void SetHandler(THandler handler) override { handler_ = std::move(handler); }
  int EventFd() const override;
  bool ProcessPendingEvents() override;

 private:
  struct Grab {
    std::uint32_t keysym = 0;
    std::uint16_t modifiers = 0;
    std::vector<std::uint8_t> keycodes;
    std::vector<std::uint16_t> masks;  // the modifiers with each lock variant
  };
  // The same combination with NumLock, CapsLock and both.
  std::vector<std::uint16_t> LockVariants(std::uint16_t modifiers) const;
  void Ungrab(const Grab& grab);
  void ReadNumLockMask();

  std::shared_ptr<X11Connection> conn_;
  _XCBKeySymbols* symbols_ = nullptr;  // xcb_key_symbols_t
  std::uint16_t num_lock_mask_ = 0;
  std::map<int, Grab> grabs_;
  THandler handler_;
};

}  // namespace vistrel
