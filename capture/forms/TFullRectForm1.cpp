#include "capture/forms/TFullRectForm1.h"
#include "commands/command_table.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

#include "commands/TActionList1.h"
#include "picture/app_context.h"
#include "capture/area_rects.h"
#include "capture/forms/full_rect_texts.h"
#include "capture/overlay_marks.h"
#include "platform/screen_grab.h"
#include "picture/MainFormRules.h"
#include "platform/platform.h"

namespace vistrel {

namespace tx = full_rect_texts;

TFullRectForm1::TFullRectForm1(TAppContext& context, QSize custom_preset)
    : PictureView1(new TFrozenDesktopView(this)), context_(context), outputs_(*this, *PictureView1) {
  setObjectName("FullRectForm1");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(PictureView1);
  PictureView1->setObjectName("PictureView1");
  BuildPopupMenu(custom_preset);
  ConnectView(*PictureView1);
}

void TFullRectForm1::ConnectView(TFrozenDesktopView& view) {
  view.SetHint(tx::kFirstHint);
  connect(&view, &TFrozenDesktopView::OnMouseDown, this, &TFullRectForm1::PictureView1MouseDown);
  connect(&view, &TFrozenDesktopView::OnMouseUp, this, &TFullRectForm1::PictureView1MouseUp);
  connect(&view, &TFrozenDesktopView::OnSelectionChange, this,
          &TFullRectForm1::PictureView1SelectionChange);
}

void TFullRectForm1::BuildPopupMenu(QSize custom_preset) {
  popup_menu1_ = new QMenu(this);
  popup_menu1_->setObjectName("PopupMenu1");
  rectangles1_ = popup_menu1_->addMenu(tx::kRectangles);
  for (int size : {16, 32, 64, 128}) {
    QAction* item = rectangles1_->addAction(QString("%1 x %1").arg(size));
    connect(item, &QAction::triggered, this, [this, size] { PresetClick(size, size); });
    if (size == 32) rectangles1_->setDefaultAction(item);
  }
  rectangles1_->addSeparator();
  const int custom_w = custom_preset.width(), custom_h = custom_preset.height();
  QAction* custom = rectangles1_->addAction(QString("%1 x %2").arg(custom_w).arg(custom_h));
  connect(custom, &QAction::triggered, this,
          [this, custom_w, custom_h] { PresetClick(custom_w, custom_h); });
  rectangles1_->addSeparator();
  connect(rectangles1_->addAction(tx::kDesktopSize), &QAction::triggered, this,
          &TFullRectForm1::DesktopSize1Click);
  crop_selection1_ = popup_menu1_->addAction(tx::kCropSelection);
  crop_selection1_->setEnabled(false);
  connect(crop_selection1_, &QAction::triggered, this, &TFullRectForm1::TakeSelection);
  popup_menu1_->addSeparator();
  QAction* exit = popup_menu1_->addAction(tx::kExit);
  popup_menu1_->setDefaultAction(exit);
  connect(exit, &QAction::triggered, this, &TFullRectForm1::TakeSelection);
}

bool TFullRectForm1::FormCreate(const TPictureBitmap* desktop_grab) {
  IScreenSource& screen = *context_.platform.screen;
  const TScreenRect desktop = VirtualDesktopRect(screen.Monitors());
  outputs_.Place(screen.Monitors(), [this](TFrozenDesktopView& view) { ConnectView(view); });
  const TScreenRect area = ConfineToCaptureBounds(desktop, context_.capture.CaptureBounds);
  if (desktop_grab && desktop_grab->Width() == area.Width() &&
      desktop_grab->Height() == area.Height()) {
    frozen_ = area;
    PictureView1->Picture() = *desktop_grab;
  } else {
    frozen_ = GrabScreenRect(screen, context_.capture.CaptureBounds, PictureView1->Picture(),
                             desktop, &grab_failure_);
  }
  PictureView1->SetPictureScreenOrigin(QPoint(frozen_.left, frozen_.top));
  PictureView1->PictureChanged();
  outputs_.ShowPicture(frozen_);
  return grab_failure_.empty();
}

void TFullRectForm1::Preselect(const TScreenRect& rect) {
  if (const auto box = SelectionOfScreenRect(rect, frozen_)) {
    PictureView1->SelectRect(box->left, box->top, box->right, box->bottom);
    crop_selection1_->setEnabled(true);
  }
}

void TFullRectForm1::PresetClick(int width, int height) {
  const TPictureBitmap& picture = PictureView1->Picture();
  if (picture.Empty()) return;
  const TSelectionBox box =
      PresetRectangle(width, height, {0, 0, picture.Width(), picture.Height()});
  PictureView1->SelectRect(box.left, box.top, box.right, box.bottom);
  crop_selection1_->setEnabled(true);
}

void TFullRectForm1::DesktopSize1Click() {
  const TPictureBitmap& picture = PictureView1->Picture();
  if (picture.Empty()) return;
  PictureView1->SelectRect(0, 0, picture.Width() - 1, picture.Height() - 1);
  crop_selection1_->setEnabled(true);
}

void TFullRectForm1::TakeSelection() {
  if (PictureView1->HasSelection()) {
    if (context_.capture.DefineRectMode) {
      context_.capture.CustomCaptureRect =
          ScreenRectOfSelection(PictureView1->SelectionBox(), frozen_);
    } else {
      taken_ = PictureView1->CopySelection();
    }
  }
  close();
}

void TFullRectForm1::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      TakeSelection();
      return;
    case Qt::Key_Shift:
      outputs_.ForEach([](TFrozenDesktopView& view) { view.SetMagnifying(true); });
      return;
    default:
      TOverlayWindow::keyPressEvent(event);
  }
}

void TFullRectForm1::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) outputs_.ForEach([](TFrozenDesktopView& view) { view.SetMagnifying(false); });
  TOverlayWindow::keyReleaseEvent(event);
}

void TFullRectForm1::PictureView1MouseDown(Qt::MouseButton button) {
  outputs_.ForEach([](TFrozenDesktopView& view) { view.SetShowHint(false); });
  if (button != Qt::RightButton) return;
  // The menu takes the keyboard while it is open, then gives it back.
  ReleaseKeyboardGrab();
  popup_menu1_->exec(QCursor::pos());
  if (isVisible()) TakeKeyboardGrab();
  outputs_.ForEach([](TFrozenDesktopView& view) { view.SetShowHint(true); });
}

void TFullRectForm1::PictureView1MouseUp(Qt::MouseButton button) {
  outputs_.ForEach([](TFrozenDesktopView& view) { view.SetShowHint(true); });
  // The right button's release belongs to its menu and never takes.
  if (button == Qt::RightButton) return;
  if (context_.commands.Checked(cmd::kAutoCrop) && !context_.capture.DefineRectMode) TakeSelection();
}

void TFullRectForm1::PictureView1SelectionChange() {
  outputs_.ForEach([](TFrozenDesktopView& view) { view.SetHint(tx::kSelectionHint); });
  crop_selection1_->setEnabled(PictureView1->HasSelection());
}

}  // namespace vistrel
