// The mail dialog's body field: a plain text field with a length limit,
// which QPlainTextEdit lacks. Laying out one long unbroken line costs Qt
// time that grows with the square of its length, so a pasted or dropped
// text is cut to the room left before it reaches the field.
#pragma once

#include <QPlainTextEdit>

namespace vistrel {

class TBodyEdit : public QPlainTextEdit {
 public:
  TBodyEdit(int max_length, QWidget* parent) : QPlainTextEdit(parent), max_length_(max_length) {}

 protected:
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int max_length_;
};

}  // namespace vistrel
