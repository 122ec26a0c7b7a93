// The program's message boxes: its texts use "\r\n" for line breaks, and a
// warning or error is preceded by the desktop's beep.
#pragma once

#include <QMessageBox>
#include <QString>

namespace vistrel {

// The text as a box shows it ("\r\n" as a line break).
QString BoxText(const QString& text);

// Yes/No warning; true for Yes.
bool AskWarningYesNo(QWidget* parent, const QString& text);
// Yes/No question; true for Yes.
bool AskQuestionYesNo(QWidget* parent, const QString& text);
// An error box with a single OK button.
void ShowErrorBox(QWidget* parent, const QString& text);

}  // namespace vistrel
