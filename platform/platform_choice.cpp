#include "platform/platform_choice.h"

#include <cstdlib>
#include <cstring>

namespace vistrel {

namespace {

bool IsSet(const char* value) { return value && *value; }

}  // namespace

TPlatformEnvironment CurrentPlatformEnvironment() {
  return {std::getenv("VISTREL_PLATFORM"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")};
}

std::optional<TPlatformKind> ChoosePlatform(const TPlatformEnvironment& env, std::string& error) {
  if (IsSet(env.forced)) {
    if (std::strcmp(env.forced, "x11") == 0) return TPlatformKind::X11;
    if (std::strcmp(env.forced, "wayland") == 0) return TPlatformKind::Wayland;
    if (std::strcmp(env.forced, "fake") == 0) return TPlatformKind::Fake;
    error = std::string("VISTREL_PLATFORM must be x11, wayland or fake, not \"") + env.forced + "\"";
    return std::nullopt;
  }
  // Xwayland sets DISPLAY inside a Wayland session too, but an X client
  // there sees only the other X clients and cannot grab the screen.
  if (IsSet(env.wayland_display)) return TPlatformKind::Wayland;
  if (IsSet(env.display)) return TPlatformKind::X11;
  error = "no display to run on (neither WAYLAND_DISPLAY nor DISPLAY is set)";
  return std::nullopt;
}

std::string ChosenDisplayName(const TPlatformEnvironment& env) {
  std::string error;
  switch (ChoosePlatform(env, error).value_or(TPlatformKind::Fake)) {
    case TPlatformKind::X11:
      return IsSet(env.display) ? env.display : "";
    case TPlatformKind::Wayland:
      return IsSet(env.wayland_display) ? env.wayland_display : "";
    case TPlatformKind::Fake:
      break;
  }
  return "";
}

const char* QtPlatformPluginFor(TPlatformKind kind) {
  switch (kind) {
    case TPlatformKind::X11:
      return "xcb";
    case TPlatformKind::Wayland:
      return "wayland";
    case TPlatformKind::Fake:
      break;
  }
  return "offscreen";
}

}  // namespace vistrel
