// Draws the mail dialog into a PNG file, to look at it.
#include <QApplication>
#include <QLineEdit>

#include "mail/forms/TMailForm1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  vistrel::TPictureBitmap picture(4, 4);
  vistrel::TIOParams params;
  vistrel::TMailForm1 form(picture, params, "/tmp/");
  form.Edit1->setText("127.0.0.1:2525");
  form.show();
  QApplication::processEvents();
  return form.grab().save(argv[1]) ? 0 : 1;
}
