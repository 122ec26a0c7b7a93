#include "platform/qt/platform_loader.h"

#include <QCursor>
#include <cstdlib>
#include <cstring>

#include "platform/fake/fake_platform.h"
#include "platform/qt/portal_hotkeys.h"
#include "platform/qt/portal_screen_source.h"
#include "platform/qt/portal_window_source.h"
#include "platform/wayland/wayland_platform.h"

namespace vistrel {

std::unique_ptr<TPlatform> OpenPlatform(TPlatformKind kind, std::string& error) {
  switch (kind) {
    case TPlatformKind::X11:
      return OpenDesktopPlatform(error);
    case TPlatformKind::Wayland: {
      // Qt knows the pointer while it is over one of the program's windows,
      // in the compositor's logical pixels.
      const auto pointer = []() -> std::optional<std::pair<int, int>> {
        const QPoint p = QCursor::pos();
        return std::pair{p.x(), p.y()};
      };
      const auto portal = [](std::unique_ptr<IScreenSource> layout) {
        return std::make_unique<PortalScreenSource>(std::move(layout));
      };
      const char* grabs = std::getenv("VISTREL_GRABS");
      return OpenWaylandPlatform(error, pointer, portal, grabs && std::strcmp(grabs, "portal") == 0,
                                 [] { return std::make_unique<PortalWindowSource>(); },
                                 std::make_unique<PortalHotkeys>());
    }
    case TPlatformKind::Fake:
      break;
  }
  return OpenFakePlatform();
}

}  // namespace vistrel
