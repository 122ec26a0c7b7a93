#include "commands/option_defaults.h"

#include <QGuiApplication>
#include <QScreen>

#include "settings/date_time.h"
#include "platform/system_info.h"

namespace vistrel {

OptionDefaults CurrentOptionDefaults() {
  OptionDefaults d;
  d.pictures_folder = PicturesFolder();
  d.now = NowAsDateTime();
  if (QScreen* primary = QGuiApplication::primaryScreen()) {
    // The custom capture rectangle is in screen pixels: Qt's scaled
    // extent is turned back into device pixels (its corner stays).
    const QRect desktop = primary->virtualGeometry();
    const qreal ratio = primary->devicePixelRatio();
    d.desktop_left = desktop.left();
    d.desktop_top = desktop.top();
    d.desktop_width = qRound(desktop.width() * ratio);
    d.desktop_height = qRound(desktop.height() * ratio);
    d.screen_width = primary->geometry().width();
    d.screen_height = primary->geometry().height();
  }
  return d;
}

}  // namespace vistrel
