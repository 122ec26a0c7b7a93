// The X11 side of TDevicePointer: a native event filter that reads the root
// position of button and motion events, core and XInput 2 alike (Qt takes
// its pointer events from XInput 2 where the server has it).
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/qt/device_pointer.h"

namespace vistrel {

namespace {

class PointerFilter : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
      case XCB_BUTTON_PRESS:
      case XCB_BUTTON_RELEASE:
      case XCB_MOTION_NOTIFY: {
        // Press, release and motion share the layout up to the positions.
        const auto* core = static_cast<const xcb_button_press_event_t*>(message);
        last = TScreenPoint{core->root_x, core->root_y};
        break;
      }
      case XCB_GE_GENERIC: {
        const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
        if (generic->extension != XInputOpcode()) break;
        if (generic->event_type != XCB_INPUT_BUTTON_PRESS &&
            generic->event_type != XCB_INPUT_BUTTON_RELEASE && generic->event_type != XCB_INPUT_MOTION)
          break;
        const auto* device = static_cast<const xcb_input_button_press_event_t*>(message);
        // 16.16 fixed point; whole pixels are what the screen has.
        last = TScreenPoint{device->root_x >> 16, device->root_y >> 16};
        break;
      }
      default:
        break;
    }
    return false;
  }

  int XInputOpcode() {
    if (opcode < 0) {
      opcode = 0;
      auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
      if (xcb_connection_t* c = x11 ? x11->connection() : nullptr) {
        const xcb_query_extension_reply_t* data = xcb_get_extension_data(c, &xcb_input_id);
        if (data && data->present) opcode = data->major_opcode;
      }
    }
    return opcode;
  }

  std::optional<TScreenPoint> last;
  int opcode = -1;
};

PointerFilter* filter = nullptr;

}  // namespace

void TDevicePointer::Install() {
  if (filter || !QCoreApplication::instance()) return;
  filter = new PointerFilter;
  QCoreApplication::instance()->installNativeEventFilter(filter);
}

std::optional<TScreenPoint> TDevicePointer::LastScreenPosition() {
  return filter ? filter->last : std::nullopt;
}

}  // namespace vistrel
