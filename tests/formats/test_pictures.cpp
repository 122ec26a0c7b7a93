#include "test_pictures.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace vistrel {

void PrintTo(const TPictureBitmap& picture, std::ostream* os) {
  *os << picture.Width() << "x" << picture.Height() << (picture.IsMono() ? " mono" : " rgb") << " [";
  const int n = std::min(picture.Width(), 6);
  for (int x = 0; x < n && picture.Height() > 0; ++x) {
    char text[16];
    std::snprintf(text, sizeof text, " %06X", unsigned(picture.Pixel(x, 0)));
    *os << text;
  }
  *os << " ...]";
}

}  // namespace vistrel

namespace vistrel::test {

TPictureBitmap ScreenshotLike(int width, int height) {
  TPictureBitmap p(width, height);
  p.Fill(MakeColor(236, 236, 236));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (y < height / 10) p.SetPixel(x, y, MakeColor(40, 70, 140));
      else if (x < width / 6) p.SetPixel(x, y, MakeColor(250, 250, 250));
      else if (x % 97 < 2 || y % 53 < 2) p.SetPixel(x, y, MakeColor(180, 180, 180));
      else if ((x / 7 + y / 11) % 5 == 0 && (x * 3 + y) % 4 != 0) p.SetPixel(x, y, kBlack);
    }
  return p;
}

TPictureBitmap PhotoLike(int width, int height, unsigned seed) {
  TPictureBitmap p(width, height);
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-6, 6);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = p.Row(y);
    for (int x = 0; x < width; ++x) {
      const int r = 255 * x / std::max(1, width - 1);
      const int g = 255 * y / std::max(1, height - 1);
      const int b = (r + g) / 2 ^ ((x / 16 + y / 16) & 31);
      row[3 * x] = std::uint8_t(std::clamp(b + noise(rng), 0, 255));
      row[3 * x + 1] = std::uint8_t(std::clamp(g + noise(rng), 0, 255));
      row[3 * x + 2] = std::uint8_t(std::clamp(r + noise(rng), 0, 255));
    }
  }
  return p;
}

TPictureBitmap MonoPattern(int width, int height) {
  TPictureBitmap p(width, height, PixelFormat::Mono1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.SetPixel(x, y, ((x / 3 + y / 2) % 2 == 0 || x == y) ? kWhite : kBlack);
  return p;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TScratchDir::TScratchDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vistrel-formats-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) std::abort();
  dir_ = tmpl;
}

TScratchDir::~TScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

TPictureBitmap Expand(const TPictureBitmap& mono) {
  TPictureBitmap out(mono.Width(), mono.Height());
  for (int y = 0; y < mono.Height(); ++y)
    for (int x = 0; x < mono.Width(); ++x) out.SetPixel(x, y, mono.Pixel(x, y));
  return out;
}

int MaxChannelDifference(const TPictureBitmap& a, const TPictureBitmap& b) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width() * 3; ++x)
      worst = std::max(worst, std::abs(int(a.Row(y)[x]) - int(b.Row(y)[x])));
  return worst;
}

}  // namespace vistrel::test
