#include "picture/MainFormDefaults.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

namespace vistrel {

OptionDefaults PictureWindowDefaults() {
  OptionDefaults d;
  const char* tmp = std::getenv("TMPDIR");
  d.temp_folder = tmp && *tmp ? tmp : "/tmp";
  if (d.temp_folder.back() != '/') d.temp_folder += '/';
  if (const QScreen* primary = QGuiApplication::primaryScreen()) {
    const QRect desktop = primary->virtualGeometry();
    d.desktop_left = desktop.left();
    d.desktop_top = desktop.top();
    d.desktop_width = desktop.width();
    d.desktop_height = desktop.height();
    d.screen_width = primary->geometry().width();
    d.screen_height = primary->geometry().height();
  }
  return d;
}

}  // namespace vistrel
