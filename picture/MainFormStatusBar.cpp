#include "picture/MainFormStatusBar.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

namespace vistrel {

TStatusPanel::TStatusPanel(int width, QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFixedWidth(width);
}

void TStatusPanel::SetText(const QString& text) {
  if (text == text_ && progress_ < 0) return;
  text_ = text;
  progress_ = -1;
  update();
}

void TStatusPanel::SetProgress(int percent) {
  progress_ = percent;
  repaint();
}

void TStatusPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  if (progress_ >= 0) {
    // From (2, 4) to (p + 2, height - 3): black outline, highlight fill.
    const QRect bar(2, 4, progress_, height() - 7);
    painter.fillRect(bar, palette().highlight());
    painter.setPen(Qt::black);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    return;
  }
  painter.setPen(palette().windowText().color());
  painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}

TMainFormStatusBar::TMainFormStatusBar(QWidget* parent) : QStatusBar(parent) {
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new TStatusPanel(kPanelWidths[i], this);
    panels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
    addWidget(panels_[i]);
  }
}

void TMainFormStatusBar::FitFontTo(const QString (&widest)[3]) {
  const auto fits = [&](const QFont& font) {
    const QFontMetrics metrics(font);
    for (int i = 0; i < 3; ++i)
      if (metrics.horizontalAdvance(widest[i]) > panels_[i]->contentsRect().width() - 2) return false;
    return true;
  };
  QFont font = this->font();
  if (fits(font)) return;
  font.setStretch(QFont::Condensed);
  int pixels = QFontInfo(font).pixelSize();
  while (!fits(font) && pixels > kSmallestFontPixels) font.setPixelSize(--pixels);
  setFont(font);
}

}  // namespace vistrel
