#include "undo_stack.h"

#include <algorithm>

namespace vistrel {

void TUndoStack::SetUndoLimit(int limit) {
  limit_ = std::max(1, limit);
  while (int(entries_.size()) > limit_) entries_.pop_front();
}

bool TUndoStack::PushUndo(const TPictureBitmap& picture, std::string caption) {
  const std::uint64_t before = state_;
  if (picture.Width() < 2 || picture.Height() < 2) {
    state_ = ++last_state_;
    return false;
  }
  // Copy first: if memory runs out the stack keeps what it had.
  Entry entry{picture, std::move(caption), before};
  while (int(entries_.size()) >= limit_) entries_.pop_front();
  entries_.push_back(std::move(entry));
  state_ = ++last_state_;
  return true;
}

bool TUndoStack::RestoreUndo(TPictureBitmap& picture) const {
  if (entries_.empty()) return false;
  picture = entries_.back().picture;
  return true;
}

void TUndoStack::DropNewestUndo() {
  if (entries_.empty()) return;
  state_ = entries_.back().state_before;
  entries_.pop_back();
}

}  // namespace vistrel
