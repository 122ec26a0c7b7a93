#include "capture/request_sources.h"

#include "capture/capture_mode.h"

namespace vistrel {

namespace {

TCaptureRequest Shown(TCaptureArea area) {
  TCaptureRequest request;
  request.area = area;
  request.show = true;
  return request;
}

// Printed or saved without a window: the automatic copy comes first.
TCaptureRequest Unattended(TCaptureArea area) {
  TCaptureRequest request;
  request.area = area;
  request.clipboard_as_set = true;
  return request;
}

TCaptureRequest Viewed(TCaptureArea area, bool direct_printing) {
  if (!direct_printing) return Shown(area);
  TCaptureRequest request = Unattended(area);
  request.print = true;
  return request;
}

TCaptureRequest Saved(TCaptureArea area) {
  TCaptureRequest request = Unattended(area);
  request.save = TSaveTarget{};
  return request;
}

TCaptureRequest AreaFallingBackTo(TCaptureArea unselected) {
  TCaptureRequest request = Shown(TCaptureArea::Area);
  request.unselected = unselected;
  return request;
}

}  // namespace

std::optional<TCaptureRequest> RequestForHotkey(int id, bool direct_printing) {
  const std::optional<TCaptureMode> mode = CaptureModeForHotkeyId(id);
  if (!mode) return std::nullopt;
  TCaptureRequest request;
  switch (*mode) {
    case cmDesktop:
      return Viewed(TCaptureArea::Desktop, direct_printing);
    case cmDesktopSave:
      return Saved(TCaptureArea::Desktop);
    case cmRectArea:
      return AreaFallingBackTo(TCaptureArea::Desktop);
    case cmActiveWindow:
      request = Viewed(TCaptureArea::Window, direct_printing);
      break;
    case cmActiveWindowSave:
      request = Saved(TCaptureArea::Window);
      break;
    case cmSpareSlot:
      request = AreaFallingBackTo(TCaptureArea::Window);
      break;
  }
  request.client_area_as_set = true;
  return request;
}

TCaptureRequest RequestForOpen() { return Shown(TCaptureArea::Desktop); }

TCaptureRequest RequestForPrintDesktop() { return Viewed(TCaptureArea::Desktop, true); }

TCaptureRequest RequestForRectangularArea() { return *RequestForHotkey(cmRectArea, false); }

TCaptureRequest RequestForTimerTick() {
  TCaptureRequest request;
  request.area = TCaptureArea::Custom;
  request.save = TSaveTarget{};
  return request;
}

}  // namespace vistrel
