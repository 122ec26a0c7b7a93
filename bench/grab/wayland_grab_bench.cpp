// Times the program's screen grab on a wlroots compositor ($WAYLAND_DISPLAY)
// against grim, the grabber such desktops come with, writing its picture
// nowhere (`grim -t ppm - > /dev/null`).
//
//   wayland_grab_bench [ROUNDS]
#include <cstdio>
#include <cstdlib>

#include "bench/grab/bench_timing.h"
#include "platform/monitor.h"
#include "platform/screen_grab.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_screen_source.h"

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  std::string error;
  auto display = vistrel::WaylandDisplay::Open(nullptr, error);
  if (!display) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  vistrel::WaylandScreenSource screen(display);
  const vistrel::TScreenRect bounds = vistrel::VirtualDesktopRect(screen.Monitors());
  vistrel::TPictureBitmap picture;
  const double ours_ms = bench::MedianMs(rounds, [&] {
    return vistrel::GrabScreenRect(screen, bounds, picture, bounds) == bounds;
  });
  const int tool_rounds = std::max(1, rounds / 6);
  const double grim_ms =
      bench::MedianMs(tool_rounds, [] { return bench::RunTool({"grim", "-t", "ppm", "-"}, true); });

  std::printf("Grab of %d x %d on Wayland (%d rounds, grim %d rounds, medians)\n",
              bounds.Width(), bounds.Height(), rounds, tool_rounds);
  std::printf("%-34s %10s %10s\n", "", "ms", "x grim");
  auto row = [&](const char* name, double ms) {
    if (ms < 0 || grim_ms < 0)
      std::printf("%-34s %10s\n", name, "failed");
    else
      std::printf("%-34s %10.2f %10.2f\n", name, ms, ms / grim_ms);
  };
  row("GrabScreenRect, wlr-screencopy", ours_ms);
  row("grim -t ppm - > /dev/null", grim_ms);
  return 0;
}
