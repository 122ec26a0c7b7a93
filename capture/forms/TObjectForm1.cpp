#include "capture/forms/TObjectForm1.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include "commands/app_context.h"
#include "capture/capture_state.h"
#include "capture/screen_grab.h"
#include "platform/platform.h"

namespace vistrel {

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
}

void TObjectForm1::FormCreate() {
  IScreenSource& screen = *context_.platform.screen;
  const TScreenRect desktop = VirtualDesktopRect(screen.Monitors());
  PlaceOver(desktop);
  Image1->SetScreenOrigin(QPoint(desktop.left, desktop.top));
  frozen_ = GrabScreenRect(screen, CaptureState().CaptureBounds, Image1->Picture(), desktop);
  Image1->PictureChanged();
  // What the user points at on the image is what lies there on the screen.
  Image1->SetPictureOffset(QPoint(frozen_.left - desktop.left, frozen_.top - desktop.top));
}

void TObjectForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  TOverlayWindow::keyPressEvent(event);
}

}  // namespace vistrel
