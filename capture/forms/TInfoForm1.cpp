#include "capture/forms/TInfoForm1.h"

#include "app/commands/message_boxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
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

void TInfoForm1::SetText(const QString& text) { Label1->setText(BoxText(text)); }
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
  popup.move(x, y);
  popup.SetText(text);
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
