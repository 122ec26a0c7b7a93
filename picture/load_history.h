// The ten-slot history of loaded picture files. The counter is the slot the
// next load writes; after the tenth load it wraps and the oldest slot is
// written again. The stored form lists the entries oldest first, all of
// them (a wrapped history keeps its ten entries across windows).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vistrel {

class TLoadHistory {
 public:
  static constexpr int kSlots = 10;

  // From the stored entries, oldest first; beyond ten only the first ten.
  static TLoadHistory FromStored(const std::vector<std::string>& entries);
  // The entries to store, oldest first.
  std::vector<std::string> ToStored() const;

  // The file goes into the slot the counter names, which becomes the
  // checked one; the same file loaded twice takes two slots.
  void Record(const std::string& path);
  void Clear();

  int Counter() const { return counter_; }
  // Slots shown: 0..Used()-1.
  int Used() const { return used_; }
  bool Empty() const { return used_ == 0; }
  const std::string& Slot(int i) const { return slots_[std::size_t(i)]; }
  // The slot of the latest load of this window, -1 for none.
  int Checked() const { return checked_; }

 private:
  std::array<std::string, kSlots> slots_;
  int counter_ = 0;
  int used_ = 0;
  int checked_ = -1;
};

}  // namespace vistrel
