// A private X server for one test: Xvfb on a free display number, with a
// known desktop picture and, on request, a window manager. Everything it
// started is stopped when it goes away.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "imaging/picture_bitmap.h"

namespace vistrel::testing {

class XTestServer {
 public:
  // Nothing when Xvfb did not come up; `error` says why.
  static std::unique_ptr<XTestServer> StartXvfb(int width, int height, std::string& error);
  // Xorg with the dummy driver and two monitors: LEFT 1920 x 1080 at the
  // origin, RIGHT 1024 x 768 beside it; the root is 2944 x 1080.
  static std::unique_ptr<XTestServer> StartTwoMonitors(std::string& error);
  ~XTestServer();

  const std::string& display() const { return display_; }

  // Makes `picture` the root window's picture (hsetroot -full of a PNG).
  bool SetDesktopPicture(const TPictureBitmap& picture);
  // Starts openbox with the tests' own configuration and waits until it
  // manages the screen.
  bool StartWindowManager();
  // Runs xdotool with the arguments; true when it succeeded.
  bool Xdotool(const std::vector<std::string>& args);

 private:
  XTestServer() = default;
  // Starts the X server `argv` on a free display number.
  static std::unique_ptr<XTestServer> Start(std::vector<std::string> argv, std::string& error);

  std::string display_;
  std::string folder_;        // for the files of this server
  std::string extra_folder_;  // the Xorg configuration
  ChildProcess server_;
  ChildProcess window_manager_;
};

// Every pixel of the test desktop has a colour of its own.
TColor DesktopTestColour(int x, int y);
TPictureBitmap MakeDesktopTestPicture(int width, int height);

}  // namespace vistrel::testing
