#include "picture/ColorBox.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "picture/EditFormTexts.h"
#include "picture/TSolidColorDialog.h"

namespace vistrel {

namespace {
QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
}  // namespace

TColorBox::TColorBox(int index, TColor color, QWidget* parent)
    : QFrame(parent), index_(index), color_(color) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFixedSize(22, 18);
  setToolTip(edit_form_texts::kColorBoxHint);
  setCursor(Qt::PointingHandCursor);
}

void TColorBox::SetColor(TColor color) {
  color_ = color;
  update();
}

std::optional<int> TColorBox::DroppedBox(const QMimeData* data) {
  if (!data || !data->hasFormat(kMimeType)) return std::nullopt;
  bool ok = false;
  const int index = data->data(kMimeType).toInt(&ok);
  if (!ok) return std::nullopt;
  return index;
}

void TColorBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.fillRect(contentsRect(), ToQColor(color_));
}

void TColorBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const std::optional<QColor> chosen = TSolidColorDialog::GetColor(ToQColor(color_), this);
    if (!chosen) return;
    SetColor(MakeColor(std::uint8_t(chosen->red()), std::uint8_t(chosen->green()),
                       std::uint8_t(chosen->blue())));
    emit ColorChosen();
    return;
  }
  pressed_ = event->button() == Qt::LeftButton;
  press_ = event->position().toPoint();
}

void TColorBox::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
  if ((event->position().toPoint() - press_).manhattanLength() < QApplication::startDragDistance())
    return;
  pressed_ = false;
  auto* data = new QMimeData;
  data->setData(kMimeType, QByteArray::number(index_));
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  QPixmap swatch(16, 16);
  swatch.fill(ToQColor(color_));
  drag->setPixmap(swatch);
  drag->exec(Qt::CopyAction);
}

}  // namespace vistrel
