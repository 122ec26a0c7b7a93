#include "output/TPageImage.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace vistrel {

void TPageImage::SetPage(const QPicture& page, QSize size) {
  // Drawn at full size first, then scaled down smoothly (halftone).
  QImage full(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  full.fill(Qt::white);
  {
    QPainter p(&full);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawPicture(0, 0, page);
  }
  pixmap_ = QPixmap::fromImage(
      full.scaled(this->size().expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  update();
}

void TPageImage::Clear() {
  pixmap_ = QPixmap();
  update();
}

void TPageImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!pixmap_.isNull()) p.drawPixmap(rect(), pixmap_);
}

void TPageImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Clicked();
}

}  // namespace vistrel
