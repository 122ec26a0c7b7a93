// Draws the mail dialog into a PNG file, to look at it.
#include <QApplication>
#include <QLineEdit>

#include "mail/forms/TMailForm1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const vistrel::TPictureDocument document(vistrel::TPictureBitmap(4, 4));
  vistrel::TMailForm1 form(document, "/tmp/");
  form.Edit1->setText("127.0.0.1:2525");
  form.show();
  QApplication::processEvents();
  return form.grab().save(argv[1]) ? 0 : 1;
}
