// Saves and loads a screenshot-like 1920 x 1080 picture, a desktop (windows
// with text and a photograph) and a photograph-like 3840 x 2160 picture as
// PNG (level 5), JPEG (quality 85), GIF (256 colours), TIFF and BMP, with
// our writers and with ImageMagick under the same settings, and prints time
// and size ratios (ours / ImageMagick).
//
//   formats_bench DIR [--png PICTURE [ROUNDS]]
// With --png, only saves PICTURE (a screenshot) as PNG at the default
// settings, ROUNDS times against ImageMagick at the same level and filter,
// and prints the medians and their spread.
//
// ImageMagick runs as a process. To leave out its start-up and the input
// read, one command saves (or loads) the picture once and another four
// times; a save or load costs a third of the difference.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "imaging/formats/picture_file.h"

using namespace vistrel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kConvert = "/usr/bin/convert";
constexpr int kRuns = 3;

// Window-like: a title bar, a side panel, grid lines, text-like dots.
TPictureBitmap Screenshot(int w, int h) {
  TPictureBitmap p(w, h);
  p.Fill(MakeColor(246, 246, 246));
  std::mt19937 rng(1);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = p.Row(y);
    for (int x = 0; x < w; ++x) {
      TColor c = MakeColor(246, 246, 246);
      if (y < 32) c = MakeColor(52, 101, 164);
      else if (x < 260) c = MakeColor(233, 235, 238);
      else if (y % 180 == 0 || x % 420 == 0) c = MakeColor(200, 200, 200);
      else if ((y / 18) % 2 == 0 && (y % 18) > 4 && (y % 18) < 14 && (x / 9) % 7 != 0 && rng() % 3 == 0)
        c = MakeColor(30, 30, 30);
      row[3 * x] = BlueOf(c);
      row[3 * x + 1] = GreenOf(c);
      row[3 * x + 2] = RedOf(c);
    }
  }
  return p;
}

// Photograph-like: smooth gradients, soft shapes and sensor noise.
TPictureBitmap Photograph(int w, int h) {
  TPictureBitmap p(w, h);
  std::mt19937 rng(2);
  std::normal_distribution<double> noise(0.0, 3.0);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = p.Row(y);
    for (int x = 0; x < w; ++x) {
      const double fx = double(x) / w, fy = double(y) / h;
      const double sky = 1.0 - fy;
      const double hill = 0.5 + 0.5 * std::sin(fx * 9.0 + fy * 3.0);
      const double r = 90 + 120 * sky * hill + 30 * std::sin(fx * 40) + noise(rng);
      const double g = 110 + 90 * fy + 40 * hill + noise(rng);
      const double b = 70 + 150 * sky - 40 * hill + noise(rng);
      row[3 * x] = std::uint8_t(std::clamp(b, 0.0, 255.0));
      row[3 * x + 1] = std::uint8_t(std::clamp(g, 0.0, 255.0));
      row[3 * x + 2] = std::uint8_t(std::clamp(r, 0.0, 255.0));
    }
  }
  return p;
}

// Windows with text over a photograph, one window showing a photograph.
TPictureBitmap Desktop(int w, int h) {
  TPictureBitmap p = Photograph(w, h);
  const TPictureBitmap window = Screenshot(w * 2 / 3, h * 2 / 3);
  for (int y = 0; y < window.Height(); ++y)
    std::memcpy(p.Row(h / 8 + y) + 3 * (w / 10), window.Row(y), std::size_t(window.Width()) * 3);
  const TPictureBitmap photo = Photograph(w / 3, h / 3);
  for (int y = 0; y < photo.Height(); ++y)
    std::memcpy(p.Row(h / 2 + y) + 3 * (w / 2), photo.Row(y), std::size_t(photo.Width()) * 3);
  return p;
}

template <typename F>
double BestSeconds(F f) {
  double best = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

double Shell(const std::string& command) {
  return BestSeconds([&] {
    if (std::system((command + " > /dev/null 2>&1").c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

struct TFormat {
  const char* name;
  const char* ext;
  const char* im_options;
  void (*tune)(TIOParams&);
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Median and range of the ratios of paired rounds, and the ratio of medians.
int PngOnly(const fs::path& dir, const std::string& input, int rounds) {
  if (!fs::exists(kConvert)) return std::printf("ImageMagick not found at %s\n", kConvert), 1;
  TPictureBitmap picture;
  TIOParams read;
  LoadPictureFile(input, picture, read);
  const TIOParams params;  // the defaults: level 5, no row filter, not interlaced
  const std::string ours = (dir / "ours.png").string(), theirs = (dir / "im.png").string();
  const std::string mpc = (dir / "shot.mpc").string();
  Shell(std::string(kConvert) + " '" + input + "' '" + mpc + "'");
  const std::string write = " -strip -define png:compression-level=" + std::to_string(params.png_compression) +
                            " -define png:compression-filter=1 -define png:compression-strategy=0"
                            " -define png:color-type=2 -write '" + theirs + "'";
  std::vector<double> our_ms, im_ms, ratios;
  for (int i = 0; i < rounds; ++i) {
    const double save = BestSeconds([&] { SavePictureFile(ours, picture, params); });
    const double once = Shell(std::string(kConvert) + " '" + mpc + "'" + write + " null:");
    const double four = Shell(std::string(kConvert) + " '" + mpc + "'" + write + write + write + write + " null:");
    const double im = std::max(1e-4, (four - once) / 3);
    our_ms.push_back(save * 1000), im_ms.push_back(im * 1000), ratios.push_back(save / im);
  }
  std::printf("PNG save of %s (%dx%d), level %d, filter none, %d rounds\n", input.c_str(), picture.Width(),
              picture.Height(), params.png_compression, rounds);
  std::printf("  vistrel-pro   median %7.1f ms  (%.1f .. %.1f)  %8ju bytes\n", Median(our_ms),
              *std::min_element(our_ms.begin(), our_ms.end()), *std::max_element(our_ms.begin(), our_ms.end()),
              std::uintmax_t(fs::file_size(ours)));
  std::printf("  ImageMagick   median %7.1f ms  (%.1f .. %.1f)  %8ju bytes\n", Median(im_ms),
              *std::min_element(im_ms.begin(), im_ms.end()), *std::max_element(im_ms.begin(), im_ms.end()),
              std::uintmax_t(fs::file_size(theirs)));
  std::printf("  time ratio vistrel-pro / ImageMagick: %.2f (rounds %.2f .. %.2f), size ratio %.2f\n",
              Median(our_ms) / Median(im_ms), *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()),
              double(fs::file_size(ours)) / double(fs::file_size(theirs)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "vistrel-formats-bench";
  fs::create_directories(dir);
  if (argc > 3 && std::string(argv[2]) == "--png") return PngOnly(dir, argv[3], argc > 4 ? std::atoi(argv[4]) : 7);
  const bool have_im = fs::exists(kConvert);
  if (!have_im) std::printf("ImageMagick not found at %s: ours only\n", kConvert);

  const TFormat formats[] = {
      // Our default row filter is none. This ImageMagick takes filter 1 to
      // 4 as none and 0 as Average (seen in its files), hence the numbers.
      {"png", "png", "-strip -define png:compression-level=5 -define png:compression-filter=1 "
                     "-define png:compression-strategy=0 -define png:color-type=2",
       [](TIOParams& p) { p.png_compression = 5; }},
      // libpng codes filtered rows with zlib's Z_FILTERED strategy (1).
      {"png/avg", "png", "-strip -define png:compression-level=5 -define png:compression-filter=0 "
                         "-define png:compression-strategy=1 -define png:color-type=2",
       [](TIOParams& p) {
         p.png_compression = 5;
         p.png_filter = TPngFilter::Average;
       }},
      {"jpg", "jpg", "-strip -quality 85 -define jpeg:optimize-coding=false", [](TIOParams& p) { p.jpeg_quality = 85; }},
      {"gif", "gif", "+dither -colors 256", [](TIOParams&) {}},
      {"tif", "tif", "-compress none", [](TIOParams&) {}},
      {"bmp", "bmp", "-compress none", [](TIOParams&) {}},
  };
  struct TInput {
    const char* name;
    TPictureBitmap picture;
  };
  TInput inputs[] = {{"screenshot 1920x1080", Screenshot(1920, 1080)},
                     {"desktop 1920x1080", Desktop(1920, 1080)},
                     {"photo 3840x2160", Photograph(3840, 2160)}};

  std::printf("%-22s %-7s %9s %9s %6s   %9s %9s %6s   %9s %9s %6s\n", "picture", "fmt", "save ms", "IM ms", "ratio",
              "load ms", "IM ms", "ratio", "our KB", "IM KB", "ratio");
  for (TInput& in : inputs) {
    const std::string source = (dir / "source.ppm").string();
    SavePictureFile(source, in.picture, TIOParams{});
    const std::string mpc = (dir / "source.mpc").string();
    if (have_im) Shell(std::string(kConvert) + " '" + source + "' '" + mpc + "'");
    for (const TFormat& f : formats) {
      TIOParams params;
      f.tune(params);
      const std::string ours = (dir / (std::string("ours.") + f.ext)).string();
      const std::string theirs = (dir / (std::string("im.") + f.ext)).string();
      const double save = BestSeconds([&] { SavePictureFile(ours, in.picture, params); });
      TPictureBitmap loaded;
      TIOParams read;
      const double load = BestSeconds([&] { LoadPictureFile(ours, loaded, read); });
      double im_save = 0, im_load = 0;
      double im_kb = 0;
      if (have_im) {
        const std::string write = std::string(" ") + f.im_options + " -write '" + theirs + "'";
        const std::string once = std::string(kConvert) + " '" + mpc + "'" + write + " null:";
        const std::string four = std::string(kConvert) + " '" + mpc + "'" + write + write + write + write + " null:";
        im_save = std::max(1e-4, (Shell(four) - Shell(once)) / 3);
        const std::string file = " '" + theirs + "'";
        im_load = std::max(1e-4, (Shell(std::string(kConvert) + file + file + file + file + " null:") -
                                  Shell(std::string(kConvert) + file + " null:")) / 3);
        im_kb = double(fs::file_size(theirs)) / 1024;
      }
      const double our_kb = double(fs::file_size(ours)) / 1024;
      std::printf("%-22s %-7s %9.1f %9.1f %6.2f   %9.1f %9.1f %6.2f   %9.0f %9.0f %6.2f\n", in.name, f.name,
                  save * 1000, im_save * 1000, have_im ? save / im_save : 0.0, load * 1000, im_load * 1000,
                  have_im ? load / im_load : 0.0, our_kb, im_kb, have_im ? our_kb / im_kb : 0.0);
      std::fflush(stdout);
    }
  }
  std::printf("ratios are ours / ImageMagick: below 1 is faster or smaller\n");
  return 0;
}
