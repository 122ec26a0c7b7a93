#include "x_test_server.h"

#include <png.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vistrel::testing {
namespace {

bool WritePng(const TPictureBitmap& picture, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < picture.Height(); ++y)
    png_write_row(png, const_cast<png_bytep>(picture.Row(y)));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

// True once the root window carries the window manager's check property.
bool WindowManagerRunning(const std::string& display) {
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  bool running = false;
  if (!xcb_connection_has_error(c)) {
    const char* name = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, std::uint16_t(std::strlen(name)), name), nullptr);
    if (atom && atom->atom != XCB_NONE) {
      xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
      xcb_get_property_reply_t* prop = xcb_get_property_reply(
          c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
      running = prop && xcb_get_property_value_length(prop) == 4;
      std::free(prop);
    }
    std::free(atom);
  }
  xcb_disconnect(c);
  return running;
}

}  // namespace

TColor DesktopTestColour(int x, int y) {
  return MakeColor(std::uint8_t(x * 7 + y), std::uint8_t(y * 3 + (x >> 4)),
                   std::uint8_t((x >> 2) ^ (y << 1)));
}

TPictureBitmap MakeDesktopTestPicture(int width, int height) {
  TPictureBitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.SetPixel(x, y, DesktopTestColour(x, y));
  return picture;
}

std::unique_ptr<XTestServer> XTestServer::StartXvfb(int width, int height, std::string& error) {
  std::unique_ptr<XTestServer> server(new XTestServer);
  int fds[2];
  if (pipe(fds) != 0) {
    error = "pipe failed";
    return nullptr;
  }
  // -displayfd: the server takes the first free display number and writes
  // it once it accepts connections. -noreset keeps the desktop picture when
  // the last client leaves.
  server->server_ = ChildProcess(
      {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
       std::to_string(width) + "x" + std::to_string(height) + "x24", "-noreset", "-nolisten",
       "tcp"},
      "", fds[1]);
  close(fds[1]);
  std::string number;
  pollfd pfd{fds[0], POLLIN, 0};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
    if (poll(&pfd, 1, 100) > 0) {
      char buffer[32];
      const ssize_t n = read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, std::size_t(n));
    }
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    error = "Xvfb did not start";
    return nullptr;
  }
  server->display_ = ":" + number.substr(0, number.find('\n'));
  server->folder_ = (std::filesystem::temp_directory_path() /
                     ("vistrel-x11-test" + server->display_.substr(1)))
                        .string();
  std::filesystem::create_directories(server->folder_);
  return server;
}

XTestServer::~XTestServer() {
  window_manager_.Stop();
  server_.Stop();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

bool XTestServer::SetDesktopPicture(const TPictureBitmap& picture) {
  const std::string path = folder_ + "/desktop.png";
  return WritePng(picture, path) && RunCommand({"hsetroot", "-full", path}, display_) == 0;
}

bool XTestServer::StartWindowManager() {
  window_manager_ =
      ChildProcess({"openbox", "--config-file", VISTREL_OPENBOX_RC}, display_);
  return WaitUntil([this] { return WindowManagerRunning(display_); });
}

bool XTestServer::Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunCommand(argv, display_) == 0;
}

}  // namespace vistrel::testing
