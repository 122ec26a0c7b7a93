#include "capture/forms/TObjectForm1.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "picture/app_context.h"
#include "capture/area_rects.h"
#include "capture/overlay_marks.h"
#include "platform/screen_grab.h"
#include "platform/platform.h"

namespace vistrel {

namespace {
constexpr int kOutlineDelayMs = 30;
}  // namespace

TObjectForm1::TObjectForm1(TAppContext& context)
    : Image1(new TFrozenDesktopView(this)), context_(context), outputs_(*this, *Image1) {
  setObjectName("ObjectForm1");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Image1);
  Image1->setObjectName("Image1");
  outline_timer_.setSingleShot(true);
  outline_timer_.setInterval(kOutlineDelayMs);
  connect(&outline_timer_, &QTimer::timeout, this, &TObjectForm1::OutlinePointedWindow);
  PrepareView(*Image1);
}

void TObjectForm1::PrepareView(TFrozenDesktopView& view) {
  view.SetSelecting(false);
  view.SetNormalCursor(QCursor(Qt::PointingHandCursor));
  view.SetHint(kHint);
  connect(&view, &TFrozenDesktopView::OnMouseUp, this, [this, &view] {
    pointer_ = view.PointerOnScreen();
    close();
  });
  connect(&view, &TFrozenDesktopView::OnMouseMove, this, [this, &view] {
    pointer_ = view.PointerOnScreen();
    if (!outline_timer_.isActive()) outline_timer_.start();
  });
}

bool TObjectForm1::FormCreate() {
  IScreenSource& screen = *context_.platform.screen;
  const TScreenRect desktop = VirtualDesktopRect(screen.Monitors());
  outputs_.Place(screen.Monitors(), [this](TFrozenDesktopView& view) { PrepareView(view); });
  frozen_ = GrabScreenRect(screen, context_.capture.CaptureBounds, Image1->Picture(), desktop,
                           &grab_failure_);
  if (!grab_failure_.empty()) return false;
  Image1->SetPictureScreenOrigin(QPoint(frozen_.left, frozen_.top));
  Image1->PictureChanged();
  // What the user points at on the image is what lies there on the screen.
  Image1->SetPictureOffset(QPoint(frozen_.left - desktop.left, frozen_.top - desktop.top));
  outputs_.ShowPicture(frozen_);
  // The pointer may rest on a window from the start.
  outline_timer_.start();
  return true;
}

std::optional<TPointedWindow> TObjectForm1::PointedWindow() const {
  IWindowSource& windows = *context_.platform.windows;
  return pointer_ ? windows.WindowAt(pointer_->x(), pointer_->y()) : windows.WindowUnderPointer();
}

void TObjectForm1::OutlinePointedWindow() {
  if (!isVisible()) return;  // picked meanwhile
  const std::optional<TPointedWindow> pointed = PointedWindow();
  for (const auto& [view, area] : outputs_.Views())
    view->SetHighlight(pointed ? OverlayRectOfWindow(pointed->rect, context_.capture.CaptureBounds,
                                                     frozen_, area)
                               : std::nullopt);
}

void TObjectForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  if (event->key() == Qt::Key_Shift) {
    outputs_.ForEach([](TFrozenDesktopView& view) { view.SetMagnifying(true); });
    return;
  }
  TOverlayWindow::keyPressEvent(event);
}

void TObjectForm1::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) outputs_.ForEach([](TFrozenDesktopView& view) { view.SetMagnifying(false); });
  TOverlayWindow::keyReleaseEvent(event);
}

}  // namespace vistrel
