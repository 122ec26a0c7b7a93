// The program's message boxes: caption "Vistrel-Pro", texts with "\r\n" for
// line breaks shown as plain text, a warning or error preceded by the
// desktop's beep. Ctrl+C in a box copies its caption, text and buttons, as
// the message boxes of the desktop the program comes from do.
#pragma once

#include <QMessageBox>
#include <QString>

namespace vistrel {

// The text as a box shows it ("\r\n" as a line break).
QString BoxText(const QString& text);

// What Ctrl+C puts on the clipboard for a box.
QString BoxClipboardText(const QMessageBox& box);

// A message box of the program; Ctrl+C copies it.
class TMessageBox : public QMessageBox {
  Q_OBJECT
 public:
  TMessageBox(Icon icon, const QString& text, StandardButtons buttons, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// Yes/No warning; true for Yes.
bool AskWarningYesNo(QWidget* parent, const QString& text);
// Yes/No question; true for Yes.
bool AskQuestionYesNo(QWidget* parent, const QString& text);
// Yes/No/Cancel confirmation; the button pressed (Cancel for the close box).
QMessageBox::StandardButton AskQuestionYesNoCancel(QWidget* parent, const QString& text);
// A warning box with a single OK button.
void ShowWarningBox(QWidget* parent, const QString& text);
// An error box with a single OK button.
void ShowErrorBox(QWidget* parent, const QString& text);
// A plain box with a single OK button, no icon and no beep of its own.
void ShowMessageBox(QWidget* parent, const QString& text);

}  // namespace vistrel
