#include "platform/qt/platform_loader.h"

#include <QCursor>

#include "platform/fake/fake_platform.h"
#include "platform/wayland/wayland_platform.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenPlatform(TPlatformKind kind, std::string& error) {
  switch (kind) {
    case TPlatformKind::X11:
      return OpenDesktopPlatform(error);
    case TPlatformKind::Wayland:
      // Qt knows the pointer while it is over one of the program's windows,
      // in the compositor's logical pixels.
      return OpenWaylandPlatform(error, []() -> std::optional<std::pair<int, int>> {
        const QPoint p = QCursor::pos();
        return std::pair{p.x(), p.y()};
      });
    case TPlatformKind::Fake:
      break;
  }
  return OpenFakePlatform();
}

}  // namespace vistrel
