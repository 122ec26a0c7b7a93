// Undo entries of a picture: full copies of the picture, newest last.
#pragma once

#include <deque>
#include <string>

#include "imaging/picture_bitmap.h"

namespace vistrel {

class TUndoStack {
 public:
  // The picture window keeps 16 entries.
  static constexpr int kDefaultLimit = 16;

  explicit TUndoStack(int limit = kDefaultLimit) { SetUndoLimit(limit); }

  int UndoLimit() const { return limit_; }
  // At least one entry is always kept; a limit below 1 counts as 1.
  void SetUndoLimit(int limit);

  // Appends a copy of the picture with its caption, discarding the oldest
  // entries beyond the limit. Pictures smaller than 2 x 2 are not saved;
  // returns whether an entry was added.
  bool PushUndo(const TPictureBitmap& picture, std::string caption);
  // Copies the newest entry back into the picture; the entry stays. Returns
  // false (picture untouched) when the stack is empty.
  bool RestoreUndo(TPictureBitmap& picture) const;
  void DropNewestUndo();
  void ClearUndoStack() { entries_.clear(); }
  int UndoDepth() const { return int(entries_.size()); }
  // Names the picture's state as the list knows it: every push makes a new
  // one (also a push too small to keep), dropping the newest entry brings
  // back the one from before that push. Equal states mean no change between.
  std::uint64_t State() const { return state_; }

  // Caption of entry i, 0 = oldest.
  const std::string& Caption(int i) const { return entries_.at(std::size_t(i)).caption; }
  const std::string& NewestCaption() const { return entries_.back().caption; }

 private:
  struct Entry {
    TPictureBitmap picture;
    std::string caption;
    std::uint64_t state_before = 0;
  };
  int limit_ = kDefaultLimit;
  std::deque<Entry> entries_;
  std::uint64_t state_ = 0;
  std::uint64_t last_state_ = 0;
};

}  // namespace vistrel
