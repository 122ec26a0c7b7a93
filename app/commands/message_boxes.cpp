#include "app/commands/message_boxes.h"

#include <QApplication>

namespace vistrel {

namespace {
constexpr const char* kCaption = "Vistrel-Pro";
}

QString BoxText(const QString& text) {
  QString out = text;
  return out.replace("\r\n", "\n");
}

bool AskWarningYesNo(QWidget* parent, const QString& text) {
  QApplication::beep();
  return QMessageBox::warning(parent, kCaption, BoxText(text), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

bool AskQuestionYesNo(QWidget* parent, const QString& text) {
  QApplication::beep();
  return QMessageBox::question(parent, kCaption, BoxText(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void ShowErrorBox(QWidget* parent, const QString& text) {
  QApplication::beep();
  QMessageBox::critical(parent, kCaption, BoxText(text), QMessageBox::Ok);
}

}  // namespace vistrel
