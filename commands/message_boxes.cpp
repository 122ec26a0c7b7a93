#include "commands/message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace vistrel {

namespace {

constexpr const char* kCaption = "Vistrel-Pro";

QMessageBox::StandardButton Run(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton default_button) {
  TMessageBox box(icon, text, buttons, parent);
  box.setDefaultButton(default_button);
  return QMessageBox::StandardButton(box.exec());
}

}  // namespace

QString BoxText(const QString& text) {
  QString out = text;
  return out.replace("\r\n", "\n");
}

QString BoxClipboardText(const QMessageBox& box) {
  const QString rule = "---------------------------\n";
  QString buttons;
  for (QAbstractButton* button : box.buttons())
    buttons += QString(button->text()).remove('&') + "   ";
  return rule + box.windowTitle() + "\n" + rule + box.text() + "\n" + rule + buttons + "\n" + rule;
}

TMessageBox::TMessageBox(Icon icon, const QString& text, StandardButtons buttons, QWidget* parent)
    : QMessageBox(icon, kCaption, BoxText(text), buttons, parent) {
  // Paths and names in a text are never markup.
  setTextFormat(Qt::PlainText);
}

void TMessageBox::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    QApplication::clipboard()->setText(BoxClipboardText(*this));
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

bool AskWarningYesNo(QWidget* parent, const QString& text) {
  QApplication::beep();
  return Run(parent, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No,
             QMessageBox::No) == QMessageBox::Yes;
}

bool AskQuestionYesNo(QWidget* parent, const QString& text) {
  QApplication::beep();
  return Run(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
             QMessageBox::No) == QMessageBox::Yes;
}

QMessageBox::StandardButton AskQuestionYesNoCancel(QWidget* parent, const QString& text) {
  QApplication::beep();
  return Run(parent, QMessageBox::Question, text,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void ShowWarningBox(QWidget* parent, const QString& text) {
  QApplication::beep();
  Run(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowErrorBox(QWidget* parent, const QString& text) {
  QApplication::beep();
  Run(parent, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

void ShowMessageBox(QWidget* parent, const QString& text) {
  Run(parent, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace vistrel
