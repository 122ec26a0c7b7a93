// The desktop's windows as far as captures need them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "imaging/picture_bitmap.h"
#include "platform/screen_rect.h"

namespace vistrel {

// A window of the desktop; 0 is no window.
using TWindowId = std::uint64_t;

struct TPointedWindow {
  TWindowId window = 0;
  TScreenRect rect;  // screen coordinates
};

// What the user picked in the desktop's own screenshot dialog.
struct TWindowPick {
  TPictureBitmap picture;  // empty when nothing came
  bool cancelled = false;  // the user left the dialog: no picture, and no error
  std::string failure;     // why nothing came, when not cancelled (never empty then)
};

class IWindowSource {
 public:
  virtual ~IWindowSource() = default;

  // The window that has the user's attention (the foreground window), or 0.
  virtual TWindowId ActiveWindow() = 0;

  // The window's outer rectangle: frame, title bar and borders included.
  virtual std::optional<TScreenRect> OuterRect(TWindowId window) = 0;

  // The window's client area in screen coordinates; empty while the window
  // is not shown (minimised).
  virtual std::optional<TScreenRect> ClientRect(TWindowId window) = 0;

  // The object under the mouse pointer: the innermost shown window inside an
  // application window, or the whole application window (frame included)
  // when the pointer is on its frame. The program's own windows are looked
  // through; over the bare desktop it is the desktop.
  virtual std::optional<TPointedWindow> WindowUnderPointer() = 0;
  // The same object at the screen point (x, y): where the program saw the
  // pointer itself, which on some desktops (Wayland) only the program knows.
  virtual std::optional<TPointedWindow> WindowAt(int x, int y) = 0;

  // Why the latest of the questions above found nothing because the desktop
  // could not be asked; empty when the desktop answered. A source that asks
  // its own display connection always gets an answer.
  virtual std::string Failure() const { return {}; }

  // True where the desktop tells no program where windows are: the user
  // then picks the window (or an area) in the desktop's own dialog, and
  // PickWindow returns that picture, whose size is the pick's.
  virtual bool PicksInteractively() const { return false; }
  virtual TWindowPick PickWindow() { return {{}, false, "the desktop offers no window pick"}; }
};

}  // namespace vistrel
