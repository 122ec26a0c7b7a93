// Not a test: renders the save dialog with a made-up picture into a PNG
// file (first argument) to look at it.
#include <QApplication>
#include <QPixmap>

#include "picture/TSavePictureDialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vistrel::TPictureBitmap picture;
  picture.Allocate(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x)
      picture.SetPixel(x, y, vistrel::MakeColor(std::uint8_t(x), std::uint8_t(y), 128));
  vistrel::TSavePictureDialog dialog;
  dialog.setDirectory(QDir::tempPath());
  dialog.SetFilterIndex(5);
  dialog.SetFileName("Picture0001.png");
  dialog.SetPreview(picture);
  dialog.resize(900, 480);
  dialog.show();
  QApplication::processEvents();
  return dialog.grab().save(argc > 1 ? argv[1] : "save-dialog.png") ? 0 : 1;
}
