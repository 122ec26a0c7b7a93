// A plain X window of one colour, made by a client of its own, as a stand-in
// for another program's window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/screen_rect.h"

struct xcb_connection_t;

namespace vistrel::testing {

class TestWindow {
 public:
  // `rgb` is 0xRRGGBB; the window asks to be placed at rect's corner.
  TestWindow(const std::string& display, const TScreenRect& rect, std::uint32_t rgb);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  std::uint32_t id() const { return id_; }
  // A mapped child at (x, y) inside the window.
  std::uint32_t AddChild(const TScreenRect& rect, std::uint32_t rgb);
  // Claims the window for a process (_NET_WM_PID).
  void SetProcessId(std::uint32_t pid);

 private:
  xcb_connection_t* conn_ = nullptr;
  std::uint32_t id_ = 0;
};

}  // namespace vistrel::testing
