#include "app/tray_banner_menu.h"

#include <QLinearGradient>
#include <QPainter>

namespace vistrel {

TBannerMenu::TBannerMenu(const QString& banner, QWidget* parent) : QMenu(parent), banner_(banner) {
  // The items move right by the banner's width; the banner fills the gap.
  setContentsMargins(kBannerWidth, 0, 0, 0);
}

void TBannerMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  QPainter painter(this);
  const QRect strip(0, 0, kBannerWidth, height());
  QLinearGradient gradient(strip.bottomLeft(), strip.topLeft());
  gradient.setColorAt(0, QColor(0, 0, 128));
  gradient.setColorAt(1, QColor(64, 128, 224));
  painter.fillRect(strip, gradient);

  // Written upwards, starting at the bottom; the caption's leading blanks
  // keep it clear of the lowest items, as on the original banner.
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.translate(0, height());
  painter.rotate(-90);
  const QRect text_area(4, 0, height() - 8, kBannerWidth);
  painter.drawText(text_area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, banner_);
}

}  // namespace vistrel
