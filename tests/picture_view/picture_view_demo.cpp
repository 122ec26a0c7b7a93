// Shows a picture view with a zoomed, centred picture and a rectangle
// selection, for a look at outline, grips and centring on an X display.
// Usage: picture_view_demo [SECONDS] [ZOOM] [copy]; it closes itself after
// SECONDS (default 10). With "copy" the selection goes to the clipboard, so
// the formats the desktop is offered can be listed (xclip -t TARGETS).
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "picture/TPictureView.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
  const double zoom = argc > 2 ? atof(argv[2]) : 150;

  vistrel::TPictureView view;
  view.setWindowTitle("TPictureView demo");
  view.SetSelectionColors(vistrel::MakeColor(255, 0, 0), vistrel::kWhite);
  view.SetSelectionGrips(vistrel::kBlack, vistrel::kWhite, Qt::SolidPattern, 3, true);
  view.SetHint("Drag a Rectangle or Right click for advanced Options");

  vistrel::TPictureBitmap& picture = view.Picture();
  picture.Allocate(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) picture.SetPixel(x, y, vistrel::MakeColor(uint8_t(x * 255 / 319), uint8_t(y * 255 / 199), 160));
  {
    QImage canvas = view.PictureCanvas();
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawRect(10, 10, 300, 180);
    painter.setFont(QFont("Sans", 20, QFont::Bold));
    painter.drawText(QRect(0, 0, 320, 200), Qt::AlignCenter, "Vistrel-Pro");
  }
  view.ImageChanged();
  view.resize(640, 480);
  view.show();
  view.SetZoomPercent(zoom);
  view.SelectRect(40, 30, 200, 120);
  if (argc > 3 && QString(argv[3]) == "copy") view.CopySelectionToClipboard();

  QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  return app.exec();
}
