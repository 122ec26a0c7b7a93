#include "picture/PictureViewCursors.h"

#include <QPainter>
#include <QPixmap>

namespace vistrel {

namespace {

// A pen pointing to the bottom left; the hot spot is its tip.
QCursor MakePenCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(2, 29, 20, 11);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(2, 29, 20, 11);
  }
  return QCursor(pixmap, 1, 30);
}

// A cross-hair with a small T beside it, for placing text.
QCursor MakeTextCrossCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    for (const auto& [colour, width] : {std::pair{Qt::white, 3}, std::pair{Qt::black, 1}}) {
      p.setPen(QPen(colour, width));
      p.drawLine(15, 4, 15, 26);
      p.drawLine(4, 15, 26, 15);
      p.drawLine(20, 20, 28, 20);
      p.drawLine(24, 20, 24, 29);
    }
  }
  return QCursor(pixmap, 15, 15);
}

}  // namespace

QCursor CursorForId(int id) {
  switch (id) {
    case crSelect: case crCross: return QCursor(Qt::CrossCursor);
    case crPen: { static const QCursor pen = MakePenCursor(); return pen; }
    case crTextCross: { static const QCursor text = MakeTextCrossCursor(); return text; }
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crMove: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

}  // namespace vistrel
