#include "app/commands/option_defaults.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/settings/date_time.h"
#include "output/system_info.h"

namespace vistrel {

OptionDefaults CurrentOptionDefaults() {
  OptionDefaults d;
  d.temp_folder = TemporaryFolder();
  d.now = NowAsDateTime();
  if (QScreen* primary = QGuiApplication::primaryScreen()) {
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
