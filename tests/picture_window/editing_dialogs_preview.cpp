// Not a test: saves pictures of the "Text Editor", "Previews" and "Color"
// dialogs (editing_dialogs_preview FOLDER), to look at them.
#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>

#include "picture/TEffectsForm.h"
#include "picture/TSolidColorDialog.h"
#include "picture/TTextForm1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? argv[1] : ".";
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());

  vistrel::TTextForm1 editor;
  editor.show();
  QApplication::processEvents();
  editor.grab().save(folder + "/text-editor.png");

  vistrel::TSolidColorDialog colours(QColor(255, 0, 0));
  colours.show();
  QApplication::processEvents();
  colours.grab().save(folder + "/solid-colours.png");

  vistrel::TPictureBitmap picture(400, 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) picture.SetPixel(x, y, vistrel::MakeColor(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)));
  vistrel::TEffectsForm effects(picture);
  effects.show();
  QApplication::processEvents();
  for (int page : {0, 1, 4, 5, 10}) {
    effects.Pages->setCurrentIndex(page);
    if (page == 0) effects.SetValue(0, 0, 40);
    if (page == 1) effects.SetValue(1, 0, 120);
    effects.Preview();
    QApplication::processEvents();
    effects.grab().save(folder + QString("/previews-%1.png").arg(page));
  }
  return 0;
}
