// An application window for the Wayland desktop tests: a plain grey client
// area with a red control at (50, 40), 120 x 80. Prints "shown" once it is
// mapped and keeps running until it is ended.
#include <QApplication>
#include <QFrame>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(argc > 1 ? argv[1] : "victim");
  window.resize(420, 260);
  window.setAutoFillBackground(true);
  QPalette grey = window.palette();
  grey.setColor(QPalette::Window, QColor(128, 128, 128));
  window.setPalette(grey);
  QFrame control(&window);
  control.setGeometry(50, 40, 120, 80);
  control.setAutoFillBackground(true);
  QPalette red = control.palette();
  red.setColor(QPalette::Window, QColor(255, 0, 0));
  control.setPalette(red);
  window.show();
  std::printf("shown\n");
  std::fflush(stdout);
  return QApplication::exec();
}
