#include "picture/editing_commands.h"

#include <QApplication>
#include <new>
#include <stdexcept>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "commands/command_table.h"
#include "commands/error_guard.h"
#include "picture/EditingTexts.h"
#include "picture/TMainForm1.h"
#include "picture/picture_document.h"
#include "platform/beeper.h"

namespace vistrel {

namespace tx = editing_texts;

namespace {

constexpr int kPictureFunctions[] = {cmd::kGrayscaleColors, cmd::kInvertColors,
                                     cmd::kHorizontalMirror, cmd::kVerticalMirror, cmd::kSharpen,
                                     cmd::kRotate90, cmd::kBrightness, cmd::kContrast};

// The paint lock held for the length of a scope.
class PaintLock {
 public:
  explicit PaintLock(TPictureView* view) : view_(view) { view_->BeginPaintLock(); }
  ~PaintLock() { view_->EndPaintLock(); }
  PaintLock(const PaintLock&) = delete;
  PaintLock& operator=(const PaintLock&) = delete;

 private:
  TPictureView* view_;
};

}  // namespace

TEditingCommands::TEditingCommands(TMainForm1& window, TPictureDocument& document)
    : QObject(&window), w_(window), doc_(document) {
  doc_.Proc().SetSelection(&w_.PictureView1->Selection());
  TActionList1& commands = w_.Context().commands;
  auto on = [&](int number, auto handler) {
    connect(commands.Action(number), &QAction::triggered, this, Guarded(handler));
  };
  on(cmd::kPaste, [this] { Paste(); });
  on(cmd::kCut, [this] { Cut(); });
  on(cmd::kCrop, [this] { Crop(); });
  on(cmd::kUndo, [this] { Undo(); });
  for (int n : kPictureFunctions) on(n, [this, n] { PictureFunction(n); });
  for (const TResizePreset& preset : kResizePresets)
    on(preset.command, [this, preset] { Resize(preset); });
  on(cmd::kSelectCircular, [this] { SelectCircularArea(); });
  on(cmd::kFreeHandDraw, [this] { FreeHandDraw(); });
  on(cmd::kInsertText, [this] { InsertText(); });
  on(cmd::kAdvancedEditing, [this] { AdvancedEditing(); });
  connect(w_.PictureView1, &TPictureView::OnImageChange, this,
          &TEditingCommands::UpdateUndoCommand);
  UpdateUndoCommand();
}

bool TEditingCommands::Refused(int command) const {
  // An operation reports progress and lets events run; nothing may touch
  // the picture until it has ended.
  if (running_ || w_.PictureView1->PaintLocked()) return true;
  return w_.Context().picture.PictureBusy && RefusedWhilePictureBusy(command);
}

void TEditingCommands::Engine(const std::function<bool()>& operation) {
  running_ = true;
  bool changed = false;
  try {
    changed = operation();
  } catch (const std::bad_alloc&) {
    running_ = false;
    throw std::runtime_error(tx::kOutOfMemory);
  } catch (...) {
    running_ = false;
    throw;
  }
  running_ = false;
  if (changed) w_.PictureView1->ImageChanged();
  UpdateUndoCommand();
}

void TEditingCommands::UpdateUndoCommand() {
  const int depth = doc_.Undo().UndoDepth();
  TActionList1& commands = w_.Context().commands;
  commands.Action(cmd::kUndo)->setText(QString::fromStdString(UndoCaption(depth)));
  commands.SetEnabled(cmd::kUndo, depth > 0);
}

// ---- clipboard, cut, crop, undo --------------------------------------------

void TEditingCommands::Paste() {
  if (Refused(cmd::kPaste)) return;
  PaintLock lock(w_.PictureView1);
  Engine([this] { return w_.PictureView1->PasteFromClipboard(doc_.Proc()); });
}

void TEditingCommands::Cut() {
  if (Refused(cmd::kCut)) return;
  {
    PaintLock lock(w_.PictureView1);
    Engine([this] { return doc_.Proc().ClearSel(); });
    w_.PictureView1->ClearSelection();
    w_.SetCutCropEnabled(false);
  }
}

void TEditingCommands::Crop() {
  if (Refused(cmd::kCrop) || !w_.ToolButton(TMainForm1::tbCrop)->isEnabled()) return;
  {
    PaintLock lock(w_.PictureView1);
    Engine([this] { return doc_.Proc().CropSel(); });
    w_.PictureView1->SetMouseInteract(TPictureView::miSelect);
    w_.PictureView1->SetHint(tx::kMoreOptionsHint);
    pen_width_ = 1;
  }
  w_.SetCutCropEnabled(false);
}

void TEditingCommands::Undo() {
  if (Refused(cmd::kUndo)) return;
  TPictureView* view = w_.PictureView1;
  if (doc_.Undo().UndoDepth() > 0) {
    PaintLock lock(view);
    if (!doc_.UndoLast()) return;
    view->ClearSelection();
    w_.SetCutCropEnabled(false);
    view->SetMouseInteract(TPictureView::miSelect);
    view->ImageChanged();
  } else {
    w_.Context().beeper.Beep();
  }
  view->SetHint(tx::kMoreOptionsHint);
  UpdateUndoCommand();
}

void TEditingCommands::UndoSelection() {
  TPictureView* view = w_.PictureView1;
  if (w_.Context().picture.PictureBusy || !view->HasSelection()) return;
  view->ClearSelection();
  view->SetHint(tx::kMoreOptionsHint);
  view->SetMouseInteract(TPictureView::miSelect);
  w_.SetCutCropEnabled(false);
}

void TEditingCommands::SelectCircularArea() {
  w_.PictureView1->SetMouseInteract(TPictureView::miSelectCircle);
  w_.PictureView1->SetHint(tx::kCircleHint);
}

// ---- picture functions and resize presets ----------------------------------

void TEditingCommands::PictureFunction(int command) {
  if (Refused(command)) return;
  TPictureProc& proc = doc_.Proc();
  const bool quality_rotate = w_.Context().commands.Checked(cmd::kQualityRotate);
  Engine([&]() -> bool {
    switch (command) {
      case 11: return proc.ConvertToGray();
      case 12: return proc.Negative();
      case 13: return proc.Flip(TFlipDirection::Horizontal);
      case 14: return proc.Flip(TFlipDirection::Vertical);
      case 16: return proc.ApplyFilter(kSharpenKernel, kSharpenDivisor);
      case 28: return proc.Rotate(90.0, quality_rotate, -1);
      case 29: return proc.HSLvar(0, 0, 4);
      case 30: return proc.Contrast(2);
    }
    return false;
  });
}

void TEditingCommands::Resize(const TResizePreset& preset) {
  if (Refused(preset.command)) return;
  const TResampleFilter filter =
      PresetFilter(w_.Context().commands.Checked(cmd::kQualityZoom), w_.Context().picture.ResampleFilter);
  Engine([&] { return doc_.Proc().Resample(preset.width, preset.height, filter); });
}

}  // namespace vistrel
