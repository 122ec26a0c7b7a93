#include "platform/wayland/wayland_display.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace vistrel {

namespace {

// A compositor that has not answered in this time will not.
constexpr int kReplyTimeoutMs = 5000;

void OnGeometry(void* data, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                const char*, const char*, int32_t transform) {
  static_cast<TWaylandOutput*>(data)->transform = transform;
}

void OnMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  auto* output = static_cast<TWaylandOutput*>(data);
  output->mode_width = width;
  output->mode_height = height;
}

void OnOutputDone(void*, wl_output*) {}
void OnScale(void*, wl_output*, int32_t) {}
void OnOutputName(void*, wl_output*, const char*) {}
void OnOutputDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {OnGeometry, OnMode, OnOutputDone, OnScale,
                                            OnOutputName, OnOutputDescription};

void OnLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
  auto* output = static_cast<TWaylandOutput*>(data);
  output->logical_x = x;
  output->logical_y = y;
}

void OnLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  auto* output = static_cast<TWaylandOutput*>(data);
  output->logical_width = width;
  output->logical_height = height;
}

void OnXdgDone(void*, zxdg_output_v1*) {}

void OnXdgName(void* data, zxdg_output_v1*, const char* name) {
  static_cast<TWaylandOutput*>(data)->name = name;
}

void OnXdgDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kXdgOutputListener = {OnLogicalPosition, OnLogicalSize, OnXdgDone,
                                                    OnXdgName, OnXdgDescription};

void OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
  static_cast<WaylandDisplay*>(data)->AddGlobal(name, interface, version);
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
  static_cast<WaylandDisplay*>(data)->RemoveGlobal(name);
}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

struct TCopy {
  std::uint32_t format = 0;
  int width = 0, height = 0;
  std::size_t stride = 0;
  bool told_buffer = false;
  bool bottom_up = false;
  enum { Waiting, Ready, Failed } state = Waiting;
};

void OnFrameBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width,
                   uint32_t height, uint32_t stride) {
  auto* copy = static_cast<TCopy*>(data);
  copy->format = format;
  copy->width = int(width);
  copy->height = int(height);
  copy->stride = stride;
  copy->told_buffer = true;
}

void OnFrameFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
  static_cast<TCopy*>(data)->bottom_up = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
}

void OnFrameReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
  static_cast<TCopy*>(data)->state = TCopy::Ready;
}

void OnFrameFailed(void* data, zwlr_screencopy_frame_v1*) {
  static_cast<TCopy*>(data)->state = TCopy::Failed;
}

const zwlr_screencopy_frame_v1_listener kFrameListener = {OnFrameBuffer, OnFrameFlags,
                                                          OnFrameReady, OnFrameFailed};

bool TurnedSideways(int transform) {
  // 90 and 270 degrees, flipped or not.
  return transform % 2 == 1;
}

}  // namespace

std::shared_ptr<WaylandDisplay> WaylandDisplay::Open(const char* name, std::string& error) {
  const char* shown = name ? name : std::getenv("WAYLAND_DISPLAY");
  if (!shown || !*shown) {
    error = "No Wayland display: WAYLAND_DISPLAY is not set";
    return nullptr;
  }
  wl_display* display = wl_display_connect(name);
  if (!display) {
    error = std::string("Cannot reach the Wayland compositor \"") + shown + "\"";
    return nullptr;
  }
  std::shared_ptr<WaylandDisplay> self(new WaylandDisplay(display));
  // The first round trip brings the globals, the second what the bound
  // outputs tell about themselves.
  if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0) {
    error = std::string("The Wayland compositor \"") + shown + "\" did not answer";
    return nullptr;
  }
  if (!self->shm_) {
    error = std::string("The Wayland compositor \"") + shown + "\" offers no shared memory";
    return nullptr;
  }
  return self;
}

WaylandDisplay::WaylandDisplay(wl_display* display) : display_(display) {
  registry_ = wl_display_get_registry(display_);
  wl_registry_add_listener(registry_, &kRegistryListener, this);
}

WaylandDisplay::~WaylandDisplay() {
  ReleasePool();
  for (auto& output : outputs_) {
    if (output->xdg) zxdg_output_v1_destroy(output->xdg);
    wl_output_destroy(output->output);
  }
  if (screencopy_) zwlr_screencopy_manager_v1_destroy(screencopy_);
  if (xdg_outputs_) zxdg_output_manager_v1_destroy(xdg_outputs_);
  if (shm_) wl_shm_destroy(shm_);
  wl_registry_destroy(registry_);
  wl_display_disconnect(display_);
}

void WaylandDisplay::AddGlobal(std::uint32_t name, const char* interface, std::uint32_t version) {
  const auto bind = [&](const wl_interface* kind, std::uint32_t highest) {
    return wl_registry_bind(registry_, name, kind, std::min(version, highest));
  };
  if (std::strcmp(interface, wl_shm_interface.name) == 0) {
    shm_ = static_cast<wl_shm*>(bind(&wl_shm_interface, 1));
  } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
    screencopy_ =
        static_cast<zwlr_screencopy_manager_v1*>(bind(&zwlr_screencopy_manager_v1_interface, 1));
  } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
    xdg_outputs_ = static_cast<zxdg_output_manager_v1*>(bind(&zxdg_output_manager_v1_interface, 3));
    for (auto& output : outputs_) {
      output->xdg = zxdg_output_manager_v1_get_xdg_output(xdg_outputs_, output->output);
      zxdg_output_v1_add_listener(output->xdg, &kXdgOutputListener, output.get());
    }
  } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
    auto output = std::make_unique<TWaylandOutput>();
    output->global = name;
    output->output = static_cast<wl_output*>(bind(&wl_output_interface, 4));
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    if (xdg_outputs_) {
      output->xdg = zxdg_output_manager_v1_get_xdg_output(xdg_outputs_, output->output);
      zxdg_output_v1_add_listener(output->xdg, &kXdgOutputListener, output.get());
    }
    outputs_.push_back(std::move(output));
  }
}

void WaylandDisplay::RemoveGlobal(std::uint32_t name) {
  for (auto it = outputs_.begin(); it != outputs_.end(); ++it) {
    if ((*it)->global != name) continue;
    if ((*it)->xdg) zxdg_output_v1_destroy((*it)->xdg);
    wl_output_destroy((*it)->output);
    outputs_.erase(it);
    return;
  }
}

const std::vector<std::unique_ptr<TWaylandOutput>>& WaylandDisplay::Outputs() {
  // New globals first, then what the new outputs tell.
  if (wl_display_roundtrip(display_) >= 0) wl_display_roundtrip(display_);
  return outputs_;
}

TScreenRect WaylandDisplay::DeviceRect(const TWaylandOutput& output) const {
  const auto upright = [](const TWaylandOutput& o) {
    return TurnedSideways(o.transform) ? std::pair{o.mode_height, o.mode_width}
                                       : std::pair{o.mode_width, o.mode_height};
  };
  // Without xdg-output the logical sizes are unknown: taken as unscaled.
  double scale = 0;
  for (const auto& o : outputs_)
    if (o->logical_width > 0) scale = std::max(scale, double(upright(*o).first) / o->logical_width);
  if (scale <= 0) scale = 1;
  const auto [width, height] = upright(output);
  const int left = int(std::lround(output.logical_x * scale));
  const int top = int(std::lround(output.logical_y * scale));
  return TScreenRect{left, top, left + width, top + height};
}

template <typename Done>
bool WaylandDisplay::DispatchUntil(Done done) {
  while (!done()) {
    if (wl_display_prepare_read(display_) != 0) {
      // Events wait in the queue already.
      if (wl_display_dispatch_pending(display_) < 0) return false;
      continue;
    }
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
      wl_display_cancel_read(display_);
      return false;
    }
    pollfd p{wl_display_get_fd(display_), POLLIN, 0};
    int ready;
    do {
      ready = poll(&p, 1, kReplyTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) {
      wl_display_cancel_read(display_);
      return false;
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0)
      return false;
  }
  return true;
}

bool WaylandDisplay::EnsurePool(std::size_t bytes) {
  if (pool_ && pool_size_ >= bytes) return true;
  ReleasePool();
  pool_fd_ = memfd_create("vistrel-screen-copy", MFD_CLOEXEC);
  if (pool_fd_ < 0) return false;
  if (ftruncate(pool_fd_, off_t(bytes)) != 0) {
    ReleasePool();
    return false;
  }
  void* data = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, pool_fd_, 0);
  if (data == MAP_FAILED) {
    ReleasePool();
    return false;
  }
  pool_data_ = static_cast<std::uint8_t*>(data);
  pool_size_ = bytes;
  pool_ = wl_shm_create_pool(shm_, pool_fd_, int32_t(bytes));
  return true;
}

void WaylandDisplay::ReleasePool() {
  if (pool_) wl_shm_pool_destroy(pool_);
  if (pool_data_) munmap(pool_data_, pool_size_);
  if (pool_fd_ >= 0) close(pool_fd_);
  pool_ = nullptr;
  pool_data_ = nullptr;
  pool_size_ = 0;
  pool_fd_ = -1;
}

std::optional<TOutputFrame> WaylandDisplay::CopyOutput(const TWaylandOutput& output,
                                                       bool with_cursor) {
  if (!screencopy_) return std::nullopt;
  TCopy copy;
  zwlr_screencopy_frame_v1* frame =
      zwlr_screencopy_manager_v1_capture_output(screencopy_, with_cursor ? 1 : 0, output.output);
  zwlr_screencopy_frame_v1_add_listener(frame, &kFrameListener, &copy);
  std::optional<TOutputFrame> result;
  wl_buffer* buffer = nullptr;
  if (DispatchUntil([&] { return copy.told_buffer || copy.state != TCopy::Waiting; }) &&
      copy.state == TCopy::Waiting && copy.width > 0 && copy.height > 0 &&
      copy.stride >= std::size_t(copy.width) * 4 && EnsurePool(copy.stride * copy.height)) {
    buffer = wl_shm_pool_create_buffer(pool_, 0, copy.width, copy.height, int32_t(copy.stride),
                                       copy.format);
    zwlr_screencopy_frame_v1_copy(frame, buffer);
    if (DispatchUntil([&] { return copy.state != TCopy::Waiting; }) &&
        copy.state == TCopy::Ready)
      result = TOutputFrame{pool_data_, copy.width, copy.height, copy.stride, copy.format,
                            copy.bottom_up};
  }
  if (buffer) wl_buffer_destroy(buffer);
  zwlr_screencopy_frame_v1_destroy(frame);
  wl_display_flush(display_);
  return result;
}

}  // namespace vistrel
