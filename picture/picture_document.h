// The picture a picture window shows, with what belongs to it: the
// processor that edits it, its undo list, the file parameters its saves
// write with, and whether it changed since it was grabbed, loaded or saved.
// Plain C++: the window, the print, mail and editing forms all work on one.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"
#include "imaging/picture_proc.h"
#include "imaging/undo_stack.h"

namespace vistrel {

class TPictureDocument {
 public:
  // Counts as grabbed: not modified.
  explicit TPictureDocument(TPictureBitmap picture = {});
  // The processor holds references into the document.
  TPictureDocument(const TPictureDocument&) = delete;
  TPictureDocument& operator=(const TPictureDocument&) = delete;

  TPictureBitmap& Picture() { return picture_; }
  const TPictureBitmap& Picture() const { return picture_; }
  TUndoStack& Undo() { return undo_; }
  const TUndoStack& Undo() const { return undo_; }
  TPictureProc& Proc() { return proc_; }
  // The writer's per-format parameters, used by every save of the picture.
  TIOParams& Params() { return params_; }
  const TIOParams& Params() const { return params_; }

  // Changed since the grab, the load or the last successful save. Judged
  // by undo states, so undoing back to the saved picture clears it.
  bool Modified() const { return undo_.State() != saved_state_; }
  // The picture as it stands counts as grabbed, loaded or saved.
  void MarkSaved() { saved_state_ = undo_.State(); }

  // An undo entry of the picture as it stands.
  void PushUndo(std::string caption) { undo_.PushUndo(picture_, std::move(caption)); }
  // The newest undo entry back into the picture, then dropped. False (and
  // nothing changed) without one.
  bool UndoLast();

  // The file replaces the picture, with an undo entry; the parameters keep
  // the writer's choices (the file's own are not taken). A file that cannot
  // be read raises PictureFileError and changes nothing, the undo list and
  // the mark included. A loaded picture counts as unmodified.
  void Load(const std::string& path);
  // Writes the picture with the parameters; raises PictureFileError when
  // the write fails, and the mark stays as it was.
  void Save(const std::string& path);

 private:
  TPictureBitmap picture_;
  TUndoStack undo_;
  TPictureProc proc_;
  TIOParams params_;
  // The undo list's state at the grab, the load or the last save.
  std::uint64_t saved_state_ = 0;
};

}  // namespace vistrel
