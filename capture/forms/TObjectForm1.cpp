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
    : Image1(new TFrozenDesktopView(this)), context_(context) {
  setObjectName("ObjectForm1");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Image1);
  Image1->setObjectName("Image1");
  Image1->SetSelecting(false);
  Image1->SetNormalCursor(QCursor(Qt::PointingHandCursor));
  Image1->SetHint(kHint);
  connect(Image1, &TFrozenDesktopView::OnMouseUp, this, &QWidget::close);
  outline_timer_.setSingleShot(true);
  outline_timer_.setInterval(kOutlineDelayMs);
  connect(&outline_timer_, &QTimer::timeout, this, &TObjectForm1::OutlinePointedWindow);
  connect(Image1, &TFrozenDesktopView::OnMouseMove, this, [this] {
    if (!outline_timer_.isActive()) outline_timer_.start();
  });
}

void TObjectForm1::FormCreate() {
  IScreenSource& screen = *context_.platform.screen;
  const TScreenRect desktop = VirtualDesktopRect(screen.Monitors());
  desktop_ = desktop;
  PlaceOver(desktop);
  Image1->SetScreenOrigin(QPoint(desktop.left, desktop.top));
  Image1->SetMonitors(MonitorsOnOverlay(screen.Monitors(), desktop));
  frozen_ = GrabScreenRect(screen, context_.capture.CaptureBounds, Image1->Picture(), desktop);
  Image1->SetPictureScreenOrigin(QPoint(frozen_.left, frozen_.top));
  Image1->PictureChanged();
  // What the user points at on the image is what lies there on the screen.
  Image1->SetPictureOffset(QPoint(frozen_.left - desktop.left, frozen_.top - desktop.top));
  // The pointer may rest on a window from the start.
  outline_timer_.start();
}

void TObjectForm1::OutlinePointedWindow() {
  if (!isVisible()) return;  // picked meanwhile
  const std::optional<TPointedWindow> pointed = context_.platform.windows->WindowUnderPointer();
  Image1->SetHighlight(pointed ? OverlayRectOfWindow(pointed->rect, context_.capture.CaptureBounds,
                                                     frozen_, desktop_)
                               : std::nullopt);
}

void TObjectForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  if (event->key() == Qt::Key_Shift) {
    Image1->SetMagnifying(true);
    return;
  }
  TOverlayWindow::keyPressEvent(event);
}

void TObjectForm1::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) Image1->SetMagnifying(false);
  TOverlayWindow::keyReleaseEvent(event);
}

}  // namespace vistrel
