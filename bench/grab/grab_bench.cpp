// Times the program's screen grab against a plain memory copy of the same
// bytes (the floor) and against the grabbers a user would pick instead
// (scrot, maim, ImageMagick's import), on the X display in $DISPLAY.
//
//   grab_bench [ROUNDS]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/grab/bench_timing.h"
#include "platform/screen_grab.h"
#include "platform/platform.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_screen_source.h"

using bench::MedianMs;
using bench::RunTool;

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  std::string error;
  auto conn = vistrel::X11Connection::Open(nullptr, error);
  if (!conn) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  vistrel::X11ScreenSource shm(conn, true);
  vistrel::X11ScreenSource plain(conn, false);
  const vistrel::TScreenRect bounds = vistrel::VirtualDesktopRect(shm.Monitors());
  const std::size_t bytes = std::size_t(bounds.Width()) * std::size_t(bounds.Height()) * 4;

  std::vector<std::uint8_t> from(bytes, 1), to(bytes);
  const double floor_ms = MedianMs(rounds, [&] {
    std::memcpy(to.data(), from.data(), bytes);
    return to[bytes / 2] == 1;
  });
  vistrel::TPictureBitmap picture;
  const double shm_ms = MedianMs(rounds, [&] {
    vistrel::GrabScreenRect(shm, bounds, picture, bounds);
    return picture.Width() == bounds.Width();
  });
  const double plain_ms = MedianMs(rounds, [&] {
    vistrel::GrabScreenRect(plain, bounds, picture, bounds);
    return picture.Width() == bounds.Width();
  });
  const std::string out = "/tmp/vistrel-grab-bench-" + std::to_string(getpid()) + ".png";
  const int tool_rounds = std::max(1, rounds / 6);
  const double scrot_ms = MedianMs(tool_rounds, [&] { return RunTool({"scrot", "-o", out}); });
  const double maim_ms = MedianMs(tool_rounds, [&] { return RunTool({"maim", out}); });
  const double import_ms =
      MedianMs(tool_rounds, [&] { return RunTool({"import", "-window", "root", out}); });
  std::remove(out.c_str());

  std::printf("Grab of %d x %d (%d rounds, peers %d rounds, medians)\n", bounds.Width(),
              bounds.Height(), rounds, tool_rounds);
  std::printf("%-34s %10s %10s %10s\n", "", "ms", "x floor", "x ours");
  auto row = [&](const char* name, double ms) {
    if (ms < 0)
      std::printf("%-34s %10s\n", name, "failed");
    else
      std::printf("%-34s %10.2f %10.1f %10.2f\n", name, ms, ms / floor_ms, ms / shm_ms);
  };
  row("memcpy of the 32-bit image (floor)", floor_ms);
  row("GrabScreenRect, MIT-SHM", shm_ms);
  row("GrabScreenRect, plain GetImage", plain_ms);
  row("scrot (to PNG)", scrot_ms);
  row("maim (to PNG)", maim_ms);
  row("import -window root (to PNG)", import_ms);
  return 0;
}
