#include "mail/forms/body_edit.h"

#include <QMimeData>
#include <QTextCursor>

namespace vistrel {

void TBodyEdit::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  // characterCount() counts the document's closing paragraph mark.
  const QTextCursor cursor = textCursor();
  const int kept = document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
  const int room = max_length_ > kept ? max_length_ - kept : 0;
  insertPlainText(source->text().left(room));
}

}  // namespace vistrel
