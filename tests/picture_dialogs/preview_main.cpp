// Not a test: renders the save dialog with a made-up picture into a PNG
// file (first argument) to look at it; with a second argument, a page of
// "Parameters preview" (e.g. "JPEG") after its Preview button was pressed.
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

#include "picture/TIOPreviewsForm.h"
#include "picture/TSavePictureDialog.h"

namespace {

QPixmap Render(QWidget& dialog, int width, int height) {
  dialog.resize(width, height);
  dialog.show();
  QApplication::processEvents();
  return dialog.grab();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vistrel::TPictureBitmap picture;
  picture.Allocate(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x)
      picture.SetPixel(x, y, vistrel::MakeColor(std::uint8_t(x), std::uint8_t(y), 128));
  const char* out = argc > 1 ? argv[1] : "save-dialog.png";
  if (argc > 2) {
    vistrel::TIOParams params;
    params.Reset();
    params.jpeg_quality = 10;
    vistrel::TIOPreviewsForm form(argv[2], params, picture);
    form.findChild<QPushButton*>("PreviewButton")->click();
    return Render(form, 900, 420).save(out) ? 0 : 1;
  }
  vistrel::TSavePictureDialog dialog;
  dialog.setDirectory(QDir::tempPath());
  dialog.SetFilterIndex(5);
  dialog.SetFileName("Picture0001.png");
  dialog.SetPreview(picture);
  return Render(dialog, 900, 480).save(out) ? 0 : 1;
}
