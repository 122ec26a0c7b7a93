// Screen pixels and monitors of an X server: RandR monitors, and the root
// window read with MIT-SHM GetImage (plain GetImage where SHM is refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/screen_source.h"
#include "platform/x11/ximage_convert.h"

namespace vistrel {

class X11Connection;

class X11ScreenSource : public IScreenSource {
 public:
  // Without `shared_memory` every grab goes through plain GetImage, as it
  // does on servers that refuse the segment (another machine's).
  explicit X11ScreenSource(std::shared_ptr<X11Connection> conn, bool shared_memory = true);
  ~X11ScreenSource() override;

  std::vector<TMonitor> Monitors() override;
  bool GrabRect(const TScreenRect& rect, TPictureBitmap& out) override;

  // False once the server refused shared memory; grabs then use GetImage.
  bool UsesSharedMemory() const { return shm_usable_; }

 private:
  bool GrabShm(const TScreenRect& part, TPictureBitmap& out, int dst_x, int dst_y);
  bool GrabPlain(const TScreenRect& part, TPictureBitmap& out, int dst_x, int dst_y);
  bool EnsureSegment(std::size_t bytes);
  void ReleaseSegment();

  std::shared_ptr<X11Connection> conn_;
  TXPixelLayout layout_;
  int scanline_pad_ = 32;
  bool layout_ok_ = false;
  bool shm_usable_ = false;
  // The shared segment stays attached between grabs and grows as needed.
  std::uint32_t shm_seg_ = 0;
  std::uint8_t* shm_addr_ = nullptr;
  std::size_t shm_size_ = 0;
};

}  // namespace vistrel
