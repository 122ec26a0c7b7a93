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
#include <string>
#include <vector>

namespace vistrel {

// How the desktop lends keys to the program.
enum class THotkeyLending {
  // The program holds its own combinations while no other program does (X11).
  Grabs,
  // The desktop binds each command to a key of its choosing, offered the
  // stored combination, and may refuse later (a Wayland desktop portal).
  Assigned,
  // No keys at all: the desktop's own key bindings run the command line.
  None,
};

class IHotkeys {
 public:
  using THandler = std::function<void(int id)>;
  using TRefusedHandler = std::function<void(const std::vector<int>& ids)>;

  virtual ~IHotkeys() = default;

  // Registers `id` for the key and modifiers; an id that is registered
  // already is replaced. False when the desktop refuses (another program
  // holds the combination, or this program holds it under another id), or
  // when the key code is not one of the accepted keys; nothing is reported.
  // Where the desktop assigns the keys, true means asked: its answer comes
  // later, a refusal through the refused handler.
  virtual bool Register(int id, unsigned modifier_flags, unsigned virtual_key) = 0;
  // Releases `id`; an id that is not registered is ignored.
  virtual void Unregister(int id) = 0;

  virtual void SetHandler(THandler handler) = 0;

  // Readable when events may be waiting; -1 when there is nothing to watch.
  virtual int EventFd() const = 0;
  // Reads every waiting event and calls the handler for each pressed hotkey.
  // False once the desktop connection is lost: stop watching EventFd().
  virtual bool ProcessPendingEvents() = 0;

  virtual THotkeyLending Lending() const { return THotkeyLending::Grabs; }
  // What `id` does, for desktops that list the program's keys; given
  // before it is registered.
  virtual void Describe(int, std::string) {}
  // Ids that Register took but the desktop refused afterwards (it answered
  // no, or did not answer at all).
  virtual void SetRefusedHandler(TRefusedHandler) {}
  // The desktop's keys for the registered ids changed: AssignedTrigger
  // tells them anew.
  virtual void SetAssignedHandler(std::function<void()>) {}
  // The key the desktop gave `id`, as the desktop writes it; empty while it
  // names none.
  virtual std::string AssignedTrigger(int) const { return {}; }
  // Whether the desktop has a page to change its keys, and opening it.
  virtual bool CanConfigure() const { return false; }
  virtual void Configure() {}
};

}  // namespace vistrel
