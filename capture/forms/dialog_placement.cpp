#include "capture/forms/dialog_placement.h"

#include <QWidget>

namespace vistrel {

void CentreOver(QWidget& dialog, const QWidget& window) {
  dialog.adjustSize();
  const QRect w = window.frameGeometry();
  dialog.move(w.left() + (w.width() - dialog.width()) / 2, w.top() + (w.height() - dialog.height()) / 2);
}

}  // namespace vistrel
