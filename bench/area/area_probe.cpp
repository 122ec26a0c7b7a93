// Times one step on the X display of $DISPLAY and prints it in milliseconds:
//   area_probe overlay KEY   key press to a window covering the whole screen
//                            mapped (its pixels are the frozen desktop from
//                            then on)
//   area_probe window KEY    key press to a window named like the picture
//                            window mapped
//   area_probe grab CMD ...  start of CMD to the pointer grabbed by it (the
//                            user can drag from then on); CMD is then ended
// Key presses go through xdotool, whose start is timed in every case.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(std::vector<std::string> argv) {
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) {
    std::perror(args[0]);
    std::exit(2);
  }
  return pid;
}

std::string WindowName(xcb_connection_t* c, xcb_window_t w) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
  std::string name;
  if (reply) {
    name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                std::size_t(xcb_get_property_value_length(reply)));
    std::free(reply);
  }
  return name;
}

// The window itself or one of its children has the name (a window
// manager's frame holds the named client).
bool NamedLike(xcb_connection_t* c, xcb_window_t w, const char* part) {
  if (WindowName(c, w).find(part) != std::string::npos) return true;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
  if (!tree) return false;
  bool found = false;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i)
    found = WindowName(c, children[i]).find(part) != std::string::npos;
  std::free(tree);
  return found;
}

double Ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: area_probe overlay|window KEY | grab CMD...\n");
    return 2;
  }
  const std::string mode = argv[1];
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t root = screen->root;

  if (mode == "grab") {
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(std::vector<std::string>(argv + 2, argv + argc));
    for (;;) {
      // A peer that ends or never grabs gives no time.
      if (waitpid(pid, nullptr, WNOHANG) == pid || Ms(start) > 10000) {
        std::printf("nan\n");
        kill(pid, SIGKILL);
        return 0;
      }
      xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(
          c, xcb_grab_pointer(c, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                              XCB_NONE, XCB_CURRENT_TIME),
          nullptr);
      const int status = reply ? reply->status : -1;
      std::free(reply);
      if (status == XCB_GRAB_STATUS_ALREADY_GRABBED) break;
      if (status == XCB_GRAB_STATUS_SUCCESS) xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
      xcb_flush(c);
      usleep(200);
    }
    std::printf("%.1f\n", Ms(start));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
  }

  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
  const Clock::time_point start = Clock::now();
  const pid_t pid = Spawn({"xdotool", "key", argv[2]});
  for (;;) {
    xcb_generic_event_t* event = xcb_wait_for_event(c);
    if (!event) return 1;
    if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
      const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
      bool done = false;
      if (mode == "overlay") {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
        done = g && g->width == screen->width_in_pixels && g->height == screen->height_in_pixels;
        std::free(g);
      } else {
        done = NamedLike(c, w, "Vistrel-Pro   v1.05");
      }
      if (done) {
        std::printf("%.1f\n", Ms(start));
        std::free(event);
        break;
      }
    }
    std::free(event);
  }
  waitpid(pid, nullptr, 0);
  return 0;
}
