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

// Reads the display number a server writes to `fd` once it is ready.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  pollfd pfd{fd, POLLIN, 0};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
    if (poll(&pfd, 1, 100) > 0) {
      char buffer[32];
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, std::size_t(n));
    }
  }
  if (number.find('\n') == std::string::npos) return {};
  return ":" + number.substr(0, number.find('\n'));
}

std::unique_ptr<XTestServer> XTestServer::Start(std::vector<std::string> argv,
                                                std::string& error) {
  std::unique_ptr<XTestServer> server(new XTestServer);
  std::string folder = (std::filesystem::temp_directory_path() / "vistrel-x11-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    error = "no temporary folder";
    return nullptr;
  }
  server->folder_ = folder;
  int fds[2];
  if (pipe(fds) != 0) {
    error = "pipe failed";
    return nullptr;
  }
  // -displayfd: the server takes the first free display number and writes
  // it once it accepts connections.
  argv.insert(argv.begin() + 1, {"-displayfd", std::to_string(fds[1])});
  server->server_ = ChildProcess(argv, "", fds[1]);
  close(fds[1]);
  server->display_ = ReadDisplayNumber(fds[0]);
  close(fds[0]);
  if (server->display_.empty()) {
    error = argv[0] + " did not start";
    return nullptr;
  }
  return server;
}

std::unique_ptr<XTestServer> XTestServer::StartXvfb(int width, int height, std::string& error) {
  // -noreset keeps the desktop picture when the last client leaves.
  return Start({"Xvfb", "-screen", "0",
                std::to_string(width) + "x" + std::to_string(height) + "x24", "-noreset",
                "-nolisten", "tcp"},
               error);
}

std::unique_ptr<XTestServer> XTestServer::StartTwoMonitors(std::string& error) {
  // Xorg's dummy driver with a 2944 x 1080 frame buffer split into a
  // 1920 x 1080 monitor and a 1024 x 768 one to its right.
  const char* config = R"(Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1920x1080"
    Virtual 2944 1080
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
)";
  std::string folder = (std::filesystem::temp_directory_path() / "vistrel-xorg-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    error = "no temporary folder";
    return nullptr;
  }
  const std::string config_path = folder + "/xorg.conf";
  if (FILE* f = std::fopen(config_path.c_str(), "w")) {
    std::fputs(config, f);
    std::fclose(f);
  }
  auto server = Start({"Xorg", "-config", config_path, "-noreset", "-nolisten", "tcp",
                       "-logfile", folder + "/xorg.log"},
                      error);
  if (!server) {
    std::filesystem::remove_all(folder);
    return nullptr;
  }
  server->extra_folder_ = folder;
  const std::string& d = server->display_;
  if (RunCommand({"xrandr", "--fb", "2944x1080"}, d) != 0 ||
      RunCommand({"xrandr", "--setmonitor", "LEFT", "1920/508x1080/286+0+0", "DUMMY0"}, d) != 0 ||
      RunCommand({"xrandr", "--setmonitor", "RIGHT", "1024/271x768/203+1920+0", "none"}, d) != 0) {
    error = "xrandr could not set up the monitors";
    return nullptr;
  }
  return server;
}

XTestServer::~XTestServer() {
  window_manager_.Stop();
  server_.Stop();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
  if (!extra_folder_.empty()) std::filesystem::remove_all(extra_folder_);
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
