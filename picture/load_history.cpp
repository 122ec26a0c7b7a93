#include "picture/load_history.h"

#include <algorithm>

namespace vistrel {

TLoadHistory TLoadHistory::FromStored(const std::vector<std::string>& entries) {
  TLoadHistory h;
  h.used_ = int(std::min<std::size_t>(entries.size(), kSlots));
  for (int i = 0; i < h.used_; ++i) h.slots_[std::size_t(i)] = entries[std::size_t(i)];
  h.counter_ = h.used_ % kSlots;
  return h;
}

std::vector<std::string> TLoadHistory::ToStored() const {
  std::vector<std::string> out;
  // Full: the counter names the oldest slot.
  const int first = used_ == kSlots ? counter_ : 0;
  for (int i = 0; i < used_; ++i) out.push_back(slots_[std::size_t((first + i) % kSlots)]);
  return out;
}

void TLoadHistory::Record(const std::string& path) {
  slots_[std::size_t(counter_)] = path;
  checked_ = counter_;
  counter_ = (counter_ + 1) % kSlots;
  used_ = std::min(used_ + 1, int(kSlots));
}

void TLoadHistory::Clear() {
  counter_ = 0;
  used_ = 0;
  checked_ = -1;
  slots_.fill(std::string());
}

}  // namespace vistrel
