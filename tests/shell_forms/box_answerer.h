// Answers the message boxes a step opens, as a user would, and keeps what
// they said.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace vistrel::testing {

class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      texts.push_back(box->text());
      captions.push_back(box->windowTitle());
      QAbstractButton* button = box->button(answer);
      (button ? button : box->buttons().value(0))->click();
    });
    timer_.start();
  }

  QStringList texts;
  QStringList captions;

 private:
  QTimer timer_;
};

}  // namespace vistrel::testing
