// One connection to a Wayland compositor: its outputs with their places
// (wl_output and xdg-output) and copies of their pixels (wlr-screencopy).
// Shared by the screen and cursor sources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/screen_rect.h"

struct wl_display;
struct wl_registry;
struct wl_shm;
struct wl_shm_pool;
struct wl_output;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_screencopy_manager_v1;

namespace vistrel {

struct TWaylandOutput {
  std::uint32_t global = 0;
  wl_output* output = nullptr;
  zxdg_output_v1* xdg = nullptr;
  std::string name;
  // The compositor's layout, in logical (scaled) pixels.
  int logical_x = 0, logical_y = 0, logical_width = 0, logical_height = 0;
  // The current mode in device pixels, as the output's buffer lies.
  int mode_width = 0, mode_height = 0;
  int transform = 0;  // wl_output.transform
};

// The pixels of one output as the compositor copied them: 32-bit pixels in
// a wl_shm format, valid until the next copy.
struct TOutputFrame {
  const std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
  std::uint32_t format = 0;
  bool bottom_up = false;
};

class WaylandDisplay {
 public:
  // Nothing, with `error` set, when the compositor cannot be reached. A
  // null name means $WAYLAND_DISPLAY.
  static std::shared_ptr<WaylandDisplay> Open(const char* name, std::string& error);
  ~WaylandDisplay();
  WaylandDisplay(const WaylandDisplay&) = delete;
  WaylandDisplay& operator=(const WaylandDisplay&) = delete;

  // The outputs as the compositor has them now, in the order it announced
  // them (outputs come and go while the program runs).
  const std::vector<std::unique_ptr<TWaylandOutput>>& Outputs();
  // The output's rectangle in device pixels: its size that of its buffer
  // turned upright, its corner its logical place scaled by the largest
  // scale of all outputs. Outputs of different scales then never overlap
  // (a gap may open beside one of a smaller scale); at one scale the
  // layout is the compositor's, scaled.
  TScreenRect DeviceRect(const TWaylandOutput& output) const;

  // Whether the compositor copies outputs for clients (wlroots ones do).
  bool CanCopyOutputs() const { return screencopy_ != nullptr; }
  // Copies one output, with the cursor drawn in when asked; nothing when
  // the compositor refused or did not answer.
  std::optional<TOutputFrame> CopyOutput(const TWaylandOutput& output, bool with_cursor);

  // Internal: the registry's announcements land here.
  void AddGlobal(std::uint32_t name, const char* interface, std::uint32_t version);
  void RemoveGlobal(std::uint32_t name);

 private:
  explicit WaylandDisplay(wl_display* display);
  // Reads and handles events until `done` says so; false when the
  // connection broke or nothing came for a while.
  template <typename Done>
  bool DispatchUntil(Done done);
  bool EnsurePool(std::size_t bytes);
  void ReleasePool();

  wl_display* display_;
  wl_registry* registry_ = nullptr;
  wl_shm* shm_ = nullptr;
  zxdg_output_manager_v1* xdg_outputs_ = nullptr;
  zwlr_screencopy_manager_v1* screencopy_ = nullptr;
  std::vector<std::unique_ptr<TWaylandOutput>> outputs_;
  // Copies land in one shared-memory pool that grows as needed.
  wl_shm_pool* pool_ = nullptr;
  int pool_fd_ = -1;
  std::uint8_t* pool_data_ = nullptr;
  std::size_t pool_size_ = 0;
};

}  // namespace vistrel
