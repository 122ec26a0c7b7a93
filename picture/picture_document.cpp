#include "picture/picture_document.h"

#include "imaging/formats/picture_file.h"

namespace vistrel {

TPictureDocument::TPictureDocument(TPictureBitmap picture)
    : picture_(std::move(picture)), undo_(TUndoStack::kDefaultLimit), proc_(picture_, undo_) {
  MarkSaved();
}

bool TPictureDocument::UndoLast() {
  if (undo_.UndoDepth() == 0 || !undo_.RestoreUndo(picture_)) return false;
  undo_.DropNewestUndo();
  return true;
}

void TPictureDocument::Load(const std::string& path) {
  const bool pushed = undo_.PushUndo(picture_, std::string());
  TIOParams file_params;
  try {
    LoadPictureFile(path, picture_, file_params);
  } catch (...) {
    if (pushed) undo_.DropNewestUndo();
    throw;
  }
  MarkSaved();
}

void TPictureDocument::Save(const std::string& path) {
  SavePictureFile(path, picture_, params_);
  MarkSaved();
}

}  // namespace vistrel
