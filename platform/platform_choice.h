// Which desktop services the program opens: the Wayland ones inside a
// Wayland session, the X11 ones on an X display, or the fake ones when
// asked for by name.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

enum class TPlatformKind { X11, Wayland, Fake };

// The environment the choice is made from; a null or empty value is unset.
struct TPlatformEnvironment {
  const char* forced = nullptr;           // $VISTREL_PLATFORM: x11, wayland or fake
  const char* wayland_display = nullptr;  // $WAYLAND_DISPLAY
  const char* display = nullptr;          // $DISPLAY
};

TPlatformEnvironment CurrentPlatformEnvironment();

// A forced kind wins; else a Wayland session, else an X display. Nothing,
// with `error` saying why, when there is nothing to run on or the forced
// name is unknown.
std::optional<TPlatformKind> ChoosePlatform(const TPlatformEnvironment& env, std::string& error);

// The display the chosen services talk to (":0", "wayland-1"); empty
// when nothing is chosen or the desktop is the fake one.
std::string ChosenDisplayName(const TPlatformEnvironment& env);

// The Qt platform plugin that draws the program's windows on that desktop.
const char* QtPlatformPluginFor(TPlatformKind kind);

}  // namespace vistrel
