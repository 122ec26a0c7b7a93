#include "picture/close_question.h"

#include <QPushButton>

#include "commands/message_boxes.h"
#include "picture/MainFormTexts.h"

namespace vistrel {

bool ClosesAfterAnswer(TCloseAnswer answer, const std::function<bool()>& save) {
  switch (answer) {
    case TCloseAnswer::Save: return save();
    case TCloseAnswer::Discard: return true;
    case TCloseAnswer::Cancel: return false;
  }
  return false;
}

TCloseAnswer AskSaveBeforeClosing(QWidget* parent) {
  TMessageBox box(QMessageBox::Warning, main_form_texts::kSaveBeforeClosing,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setObjectName("SaveBeforeClosing");
  // Mnemonics, so the keyboard answers as fast as the mouse.
  box.button(QMessageBox::Save)->setText("&Save");
  box.button(QMessageBox::Discard)->setText("&Discard");
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save: return TCloseAnswer::Save;
    case QMessageBox::Discard: return TCloseAnswer::Discard;
    default: return TCloseAnswer::Cancel;
  }
}

}  // namespace vistrel
