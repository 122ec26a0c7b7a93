// Gives a headless compositor a pointer: a virtual pointer device that
// lasts until standard input closes (without one the seat has no pointer
// and the compositor draws no cursor). Prints "ready" once the device
// exists, then for each line "move X Y WIDTH HEIGHT" of standard input puts
// the pointer at (X, Y) of a WIDTH x HEIGHT layout and answers "ok".
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
    manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kListener = {OnGlobal, OnGlobalRemove};

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "no Wayland display\n");
    return 1;
  }
  wl_registry_add_listener(wl_display_get_registry(display), &kListener, nullptr);
  wl_display_roundtrip(display);
  if (!manager) {
    std::fprintf(stderr, "the compositor makes no virtual pointers\n");
    return 1;
  }
  zwlr_virtual_pointer_v1* pointer =
      zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
  wl_display_roundtrip(display);
  std::printf("ready\n");
  std::fflush(stdout);
  char line[256];
  uint32_t time = 0;
  while (std::fgets(line, sizeof line, stdin)) {
    unsigned x, y, width, height;
    if (std::sscanf(line, "move %u %u %u %u", &x, &y, &width, &height) != 4) break;
    time += 10;
    zwlr_virtual_pointer_v1_motion_absolute(pointer, time, x, y, width, height);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    std::printf("ok\n");
    std::fflush(stdout);
  }
  wl_display_disconnect(display);
  return 0;
}
