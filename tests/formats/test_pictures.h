// Pictures and scratch folders the format tests share.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {
// Size, format and the first pixels, for GoogleTest's failure messages.
void PrintTo(const TPictureBitmap& picture, std::ostream* os);
}  // namespace vistrel

namespace vistrel::test {

// A 24-bit picture of few colours: bands, a frame and some text-like dots.
TPictureBitmap ScreenshotLike(int width, int height);
// A 24-bit picture with smooth gradients and noise: many colours.
TPictureBitmap PhotoLike(int width, int height, unsigned seed = 1);
// A 1-bit picture with a checker pattern and a diagonal.
TPictureBitmap MonoPattern(int width, int height);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh folder under the system's temporary folder, removed on destruction.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  const std::filesystem::path& Path() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

// A 24-bit copy of a 1-bit picture.
TPictureBitmap Expand(const TPictureBitmap& mono);

// Largest difference of any channel between two 24-bit pictures of one size.
int MaxChannelDifference(const TPictureBitmap& a, const TPictureBitmap& b);

}  // namespace vistrel::test
