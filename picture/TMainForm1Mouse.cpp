// Status bar, progress display, mouse handling over the picture, the
// clipboard copy and the first paint of the picture window.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMenu>
#include <QMimeData>

#include "commands/TActionList1.h"
#include "commands/TInfoForm1.h"
#include "picture/app_context.h"
#include "commands/command_table.h"
#include "commands/error_guard.h"
#include "picture/picture_services.h"
#include "picture/MainFormStatusBar.h"
#include "picture/MainFormTexts.h"
#include "picture/TMainForm1.h"
#include "picture/annotation/annotate_mode.h"
#include "picture/event_pump.h"
#include "picture/editing_commands.h"

namespace vistrel {

namespace tx = main_form_texts;

namespace {
constexpr int kWheelNotch = 120;
}  // namespace

// ---- status bar ------------------------------------------------------------

QString TMainForm1::StatusText(int panel) const { return status_bar_->Panel(panel)->Text(); }

void TMainForm1::SetStatusText(int panel, const std::string& text) {
  status_bar_->Panel(panel)->SetText(QString::fromStdString(text));
}

void TMainForm1::PictureView1ImageChange() {
  if (!PictureView1->HasSelection()) {
    const TPictureBitmap& picture = document_.Picture();
    SetStatusText(1, PictureInfoText(picture.Width(), picture.Height(),
                                     document_.Proc().CountColors()));
    SetStatusText(0, tx::kIdlePanel);
  } else {
    SetStatusText(1, SelectionSizeText(PictureView1->SelectionLeft(), PictureView1->SelectionTop(),
                                       PictureView1->SelectionRight(),
                                       PictureView1->SelectionBottom()));
  }
  // Paste is only ever switched on here, never off.
  if (ClipboardHoldsPicture()) SetPasteEnabled(true);
  status_bar_->repaint();
  context_.picture.PictureBusy = false;
}

// ---- progress --------------------------------------------------------------

void TMainForm1::PictureProc1Progress(int percent) {
  try {
    PumpPendingEvents();
    context_.picture.PictureBusy = true;
    if (percent >= kProgressEnd) {
      EndProgress();
      return;
    }
    SetProgressCursor(ProgressCursorFor(percent));
    status_bar_->Panel(0)->SetProgress(percent);
  } catch (...) {
    // Whatever went wrong, the display must not stay in progress mode.
    EndProgress();
  }
}

void TMainForm1::EndProgress() {
  SetProgressCursor(TProgressCursor::Default);
  SetStatusText(0, tx::kIdlePanel);
  context_.picture.PictureBusy = false;
  status_bar_->repaint();
}

void TMainForm1::SetProgressCursor(TProgressCursor cursor) {
  if (cursor == TProgressCursor::Default) {
    if (progress_cursor_) QApplication::restoreOverrideCursor();
    progress_cursor_ = false;
    return;
  }
  const QCursor shape(cursor == TProgressCursor::Wait ? Qt::WaitCursor : Qt::ForbiddenCursor);
  if (progress_cursor_)
    QApplication::changeOverrideCursor(shape);
  else
    QApplication::setOverrideCursor(shape);
  progress_cursor_ = true;
}

// ---- availability ----------------------------------------------------------

bool TMainForm1::ClipboardHoldsPicture() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasImage();
}

void TMainForm1::SetPasteEnabled(bool on) {
  tool_buttons_[tbPaste]->setEnabled(on);
  context_.commands.SetEnabled(cmd::kPaste, on);
}

void TMainForm1::SetCutCropEnabled(bool on) {
  tool_buttons_[tbCut]->setEnabled(on);
  tool_buttons_[tbCrop]->setEnabled(on);
  context_.commands.SetEnabled(cmd::kCut, on);
  context_.commands.SetEnabled(cmd::kCrop, on);
}

// ---- clipboard and first paint ---------------------------------------------

void TMainForm1::Action5Execute() {
  annotate_->Commit();
  PictureView1->CopySelectionToClipboard();
  if (ClipboardHoldsPicture()) SetPasteEnabled(true);
}

void TMainForm1::CopyCommandExecute() {
  Action5Execute();
  if (!ClipboardHoldsPicture()) return;
  const QPoint at = QCursor::pos() + QPoint(4, 4);
  ShowInfoPopup(at.x(), at.y(), "Copied to the clipboard",
                context_.commands.Checked(cmd::kShowInfoMessage));
}

void TMainForm1::ApplyPictureOptions() {
  if (context_.services.ApplyPictureOptions) context_.services.ApplyPictureOptions(*this);
}

void TMainForm1::FirstPaint() {
  if (!context_.picture.FirstPaintPending) return;
  context_.picture.FirstPaintPending = false;
  PumpPendingEvents();
  ApplyPictureOptions();
  if (context_.commands.Checked(cmd::kAutomaticToClipboard)) Action5Execute();
  status_bar_->repaint();
}

// ---- mouse over the picture ------------------------------------------------

std::string TMainForm1::PointerText(int x, int y) const {
  return PointerSelectionText(x, y, PictureView1->SelectionLeft(), PictureView1->SelectionTop(),
                              PictureView1->SelectionRight(), PictureView1->SelectionBottom());
}

void TMainForm1::PictureView1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
  drag_pointer_.reset();
  PictureView1->SetShowHint(false);
  editing_->MovePenTo(x, y);
}

void TMainForm1::PictureView1MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                       int x, int y) {
  if (buttons == Qt::LeftButton && modifiers == Qt::NoModifier && PictureView1->Cursor() == crPen) {
    drag_pointer_.reset();
    editing_->FreeHandMove(x, y);
  } else if (buttons == Qt::LeftButton && modifiers == Qt::NoModifier) {
    // The view moves the selection only after this handler; the text is
    // written again when it has (PictureView1SelectionChanging).
    drag_pointer_ = QPoint(x, y);
    SetStatusText(1, PointerText(x, y));
  } else {
    drag_pointer_.reset();
  }
  const TPictureBitmap& picture = PictureView1->Picture();
  SetStatusText(2, ColorText(picture.PixelOrNone(PictureView1->ScreenToPictureX(x),
                                                 PictureView1->ScreenToPictureY(y))));
}

void TMainForm1::PictureView1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
  drag_pointer_.reset();
  if (PictureView1->Cursor() == crPen) editing_->EndFreeHand();
  if (PictureView1->Cursor() == crSelect && PictureView1->HasSelection())
    PictureView1->SetHint(PictureView1->MouseInteract() & TPictureView::miSelectCircle
                              ? tx::kMoveSelectionHint
                              : tx::kMoveSelectionGripsHint);
  PictureView1->SetShowHint(true);
  if (PictureView1->Cursor() == crTextCross)
    editing_->PlaceText(button == Qt::LeftButton, x, y);
  else
    SetStatusText(1, PointerText(x, y));
  PictureView1->SetCursor(crSelect);
  if (button == Qt::RightButton) popup_menu1_->popup(QCursor::pos());
}

void TMainForm1::PictureView1MouseWheel(int delta) {
  // One pixel of horizontal scrolling per notch: away from the user +1.
  int notches = delta / kWheelNotch;
  if (notches == 0 && delta != 0) notches = delta > 0 ? 1 : -1;
  PictureView1->SetViewOriginX(PictureView1->ViewOriginX() + notches);
}

void TMainForm1::PictureView1SelectionChanging() {
  SetCutCropEnabled(true);
  // During a drag the text shows the selection as this move left it.
  if (drag_pointer_)
    SetStatusText(1, PointerText(drag_pointer_->x(), drag_pointer_->y()));
}

void TMainForm1::PictureView1SelectionChange() {
  if (context_.commands.Checked(cmd::kAutoCrop)) RunGuarded([this] { ToolButtonCropClick(); });
}

// ---- buttons that other parts of the program carry out ---------------------

bool TMainForm1::ToolButton11Click() {
  annotate_->Commit();
  return context_.services.PrintPicture && context_.services.PrintPicture(*this);
}

void TMainForm1::ToolButton12Click() {
  if (context_.services.SelectAreaIntoPicture) context_.services.SelectAreaIntoPicture(*this);
}

void TMainForm1::ToolButton13Click() {
  if (context_.services.PickObjectIntoPicture) context_.services.PickObjectIntoPicture(*this);
}

void TMainForm1::DefineCaptureRectangle1Click() {
  if (context_.services.DefineCaptureRectangle) context_.services.DefineCaptureRectangle(*this);
}

}  // namespace vistrel
