// System-wide hotkeys: key combinations that reach the program whichever
// application is active.
//
// Keys and modifiers are given as the program stores them: Windows
// virtual-key codes (hotkey_keys.h lists the accepted ones) and the flags
// 1 Alt, 2 Ctrl, 4 Shift.
//
// Delivery: the backend watches a file descriptor. The owner's event loop
// waits for it to become readable and then calls ProcessPendingEvents(),
// which calls the handler once for every hotkey pressed since. (The Qt
// program uses platform/qt/hotkey_notifier.h, a QSocketNotifier, for that.)
#pragma once

#include <functional>

namespace vistrel {

class IHotkeys {
 public:
  using THandler = std::function<void(int id)>;

  virtual ~IHotkeys() = default;

  // Registers `id` for the key and modifiers; an id that is registered
  // already is replaced. False when the desktop refuses (another program
  // holds the combination, or this program holds it under another id), or
  // when the key code is not one of the accepted keys; nothing is reported.
  virtual bool Register(int id, unsigned modifier_flags, unsigned virtual_key) = 0;
  // Releases `id`; an id that is not registered is ignored.
  virtual void Unregister(int id) = 0;

  virtual void SetHandler(THandler handler) = 0;

  // Readable when events may be waiting; -1 when there is nothing to watch.
  virtual int EventFd() const = 0;
  // Reads every waiting event and calls the handler for each pressed hotkey.
  // False once the desktop connection is lost: stop watching EventFd().
  virtual bool ProcessPendingEvents() = 0;
};

}  // namespace vistrel
