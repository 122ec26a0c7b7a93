// Hotkeys for tests: registrations are recorded, combinations can be marked
// as held by another program, and Press() delivers like the desktop would.
#pragma once

#include <map>
#include <set>
#include <utility>

#include "platform/hotkeys.h"

namespace vistrel {

class FakeHotkeys : public IHotkeys {
 public:
  // (modifier flags, virtual key) of a combination.
  using Combination = std::pair<unsigned, unsigned>;

  std::map<int, Combination> registered;
  std::set<Combination> held_by_others;

  bool Register(int id, unsigned modifier_flags, unsigned virtual_key) override;
  void Unregister(int id) override { registered.erase(id); }
  void SetHandler(THandler handler) override { handler_ = std::move(handler); }
  int EventFd() const override { return -1; }
  bool ProcessPendingEvents() override { return true; }

  // The user presses the combination; false when no registered id has it.
  bool Press(unsigned modifier_flags, unsigned virtual_key);

 private:
  THandler handler_;
};

}  // namespace vistrel
