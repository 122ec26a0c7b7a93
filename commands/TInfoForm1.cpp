#include "commands/TInfoForm1.h"

#include "commands/message_boxes.h"

#include <QApplication>
#include <algorithm>
#include <QElapsedTimer>
#include <QLabel>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QWindow>

namespace vistrel {

TInfoForm1::TInfoForm1(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus) {
  setObjectName("InfoForm1");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
  setPalette(pal);
  setAutoFillBackground(true);
  Label1 = new QLabel(this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(kHeight, 0, kWidth - kHeight, kHeight);
  Label1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Label1->setLineWidth(1);
  Label1->setAlignment(Qt::AlignCenter);
  QPalette text = Label1->palette();
  text.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
  Label1->setPalette(text);
}

void TInfoForm1::SetText(const QString& text) {
  Label1->setText(BoxText(text));
  // Grow to the text: a long file name must show whole, not cut on both
  // sides of the centred line.
  constexpr int kPadding = 8;
  const QSize needed = Label1->fontMetrics()
                           .boundingRect(QRect(), Qt::AlignCenter, Label1->text())
                           .size() + QSize(2 * kPadding, kPadding);
  const int label_width = std::max(kWidth - kHeight, needed.width());
  const int height = std::max(kHeight, needed.height());
  setFixedSize(kHeight + label_width, height);
  Label1->setGeometry(kHeight, 0, label_width, height);
}
QString TInfoForm1::Text() const { return Label1->text(); }

void TInfoForm1::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The left square: a white card with a thin frame, the icon on it.
  p.fillRect(0, 0, kHeight, kHeight, Qt::white);
  p.setPen(Qt::black);
  p.drawRect(0, 0, kHeight - 1, kHeight - 1);
  const QIcon icon = QApplication::windowIcon().isNull()
                         ? style()->standardIcon(QStyle::SP_DialogSaveButton)
                         : QApplication::windowIcon();
  icon.paint(&p, 0, 0, 32, 32);
}

void ShowInfoPopup(int x, int y, const QString& text, bool show_info) {
  if (!show_info) return;
  QApplication::processEvents();
  TInfoForm1 popup;
  popup.SetText(text);
  // A popup grown by a long name still shows whole near the screen's edge.
  if (const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y))) {
    const QRect area = screen->geometry();
    x = std::max(area.left(), std::min(x, area.right() + 1 - popup.width()));
    y = std::max(area.top(), std::min(y, area.bottom() + 1 - popup.height()));
  }
  popup.move(x, y);
  popup.show();
  popup.repaint();
  // Let the window system map and draw it before the thread waits.
  QElapsedTimer shown;
  shown.start();
  while (shown.elapsed() < 500 && !(popup.windowHandle() && popup.windowHandle()->isExposed()))
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QApplication::sync();
  QThread::msleep(TInfoForm1::kShowMs);
}

}  // namespace vistrel
