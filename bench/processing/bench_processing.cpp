// Times the processing operations on a 3840 x 2160 photograph-like picture
// and ImageMagick doing the same to the same picture, and prints one ratio
// (ours / ImageMagick) per operation.
//
// ImageMagick runs as a separate program, so its time includes starting up
// and reading its input. Both are taken out: the input is in ImageMagick's
// memory-mapped cache format (MPC), and the time of a run without any
// operation is subtracted. ImageMagick gets a policy of its own that lets it
// keep every picture in memory (the system's caps would send it to disk).
// Each time is the best of several runs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "imaging/operations/convolution.h"
#include "imaging/picture_proc.h"

namespace {

using vistrel::TPictureBitmap;
using vistrel::TPictureProc;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 3840, kHeight = 2160, kRuns = 3;

// Smooth shapes, gradients and sensor noise: many distinct colours, like a
// photograph rather than a screenshot.
TPictureBitmap Photograph() {
  TPictureBitmap pic(kWidth, kHeight);
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> noise(-6, 6);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* p = pic.Row(y);
    for (int x = 0; x < kWidth; ++x, p += 3) {
      const double u = double(x) / kWidth, v = double(y) / kHeight;
      const double sky = 1 - v;
      const double hill = 0.5 + 0.5 * std::sin(u * 9.0 + std::cos(v * 5.0) * 2.0);
      const double sun = std::exp(-((u - 0.7) * (u - 0.7) + (v - 0.25) * (v - 0.25)) * 40);
      const double r = 60 + 120 * sky * 0.5 + 90 * sun + 50 * hill * v;
      const double g = 80 + 100 * hill * v + 60 * sun + 30 * std::sin(x * 0.05) * v;
      const double b = 90 + 150 * sky - 60 * hill * v + 20 * std::cos(y * 0.03);
      p[0] = std::uint8_t(std::clamp(int(b) + noise(rng), 0, 255));
      p[1] = std::uint8_t(std::clamp(int(g) + noise(rng), 0, 255));
      p[2] = std::uint8_t(std::clamp(int(r) + noise(rng), 0, 255));
    }
  }
  return pic;
}

void WritePpm(const TPictureBitmap& pic, const std::string& path) {
  std::ofstream f(path, std::ios::binary);
  f << "P6\n" << pic.Width() << " " << pic.Height() << "\n255\n";
  std::vector<char> row(std::size_t(pic.Width()) * 3);
  for (int y = 0; y < pic.Height(); ++y) {
    const std::uint8_t* p = pic.Row(y);
    for (int x = 0; x < pic.Width(); ++x) {
      row[std::size_t(x) * 3] = char(p[x * 3 + 2]);
      row[std::size_t(x) * 3 + 1] = char(p[x * 3 + 1]);
      row[std::size_t(x) * 3 + 2] = char(p[x * 3]);
    }
    f.write(row.data(), std::streamsize(row.size()));
  }
}

double Seconds(const std::function<void()>& fn) {
  double best = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    const auto t0 = Clock::now();
    fn();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

double Shell(const std::string& command) {
  return Seconds([&] {
    if (std::system(command.c_str()) != 0) {
      std::cerr << "failed: " << command << "\n";
      std::exit(1);
    }
  });
}

struct Case {
  const char* name;
  std::function<void(TPictureProc&)> ours;
  std::string magick;  // arguments between input and output
};

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const std::string ppm = dir + "/bench_processing.ppm", mpc = dir + "/bench_processing.mpc";
  {
    std::ofstream policy(dir + "/policy.xml");
    policy << "<policymap>\n"
              "  <policy domain=\"resource\" name=\"memory\" value=\"4GiB\"/>\n"
              "  <policy domain=\"resource\" name=\"map\" value=\"8GiB\"/>\n"
              "  <policy domain=\"resource\" name=\"area\" value=\"1GP\"/>\n"
              "</policymap>\n";
  }
  setenv("MAGICK_CONFIGURE_PATH", dir.c_str(), 1);
  const TPictureBitmap photo = Photograph();
  WritePpm(photo, ppm);
  if (std::system(("convert " + ppm + " " + mpc).c_str()) != 0) {
    std::cerr << "ImageMagick's convert is needed\n";
    return 1;
  }
  const std::string magick = "convert " + mpc + " ";
  const double magick_base = Shell(magick + "null: 2>/dev/null");

  using vistrel::TResampleFilter;
  const std::vector<Case> cases = {
      {"Resample mitchell", [](TPictureProc& p) { p.Resample(1600, 1200, TResampleFilter::rfMitchell); },
       "-filter Mitchell -resize 1600x1200!"},
      {"Resample none", [](TPictureProc& p) { p.Resample(1600, 1200, TResampleFilter::rfNone); },
       "-sample 1600x1200!"},
      {"Rotate 90", [](TPictureProc& p) { p.Rotate(90, true); }, "-rotate -90"},
      {"Rotate 30 AA", [](TPictureProc& p) { p.Rotate(30, true); }, "-background white -rotate -30"},
      {"ApplyFilter sharpen",
       [](TPictureProc& p) { p.ApplyFilter(vistrel::kSharpenKernel, vistrel::kSharpenDivisor); },
       "-define convolve:scale=0.0625 -morphology Convolve '3x3: -1,0,-1 0,20,0 -1,0,-1'"},
      {"ConvertToGray", [](TPictureProc& p) { p.ConvertToGray(); }, "-colorspace Gray"},
      {"HSLvar 0,0,4", [](TPictureProc& p) { p.HSLvar(0, 0, 4); }, "-modulate 104,100,100"},
      {"Contrast 2", [](TPictureProc& p) { p.Contrast(2); }, "-brightness-contrast 0x20"},
      {"ConvertTo 256", [](TPictureProc& p) { p.ConvertTo(256); }, "+dither -colors 256"},
      {"CountColors", [](TPictureProc& p) { p.CountColors(); }, "-format %k -write info:/dev/null"},
  };

  std::printf("ImageMagick start-up and read: %.3f s (subtracted)\n", magick_base);
  std::printf("%-22s %10s %10s %8s\n", "operation", "ours s", "magick s", "ratio");
  for (const Case& c : cases) {
    const double ours = Seconds([&] {
      TPictureBitmap pic = photo;
      TPictureProc proc(pic);
      c.ours(proc);
    }) - Seconds([&] { TPictureBitmap pic = photo; });
    const double theirs = Shell(magick + c.magick + " null: 2>/dev/null") - magick_base;
    std::printf("%-22s %10.4f %10.4f %8.2f\n", c.name, std::max(ours, 1e-4), std::max(theirs, 1e-4),
                std::max(ours, 1e-4) / std::max(theirs, 1e-4));
    std::fflush(stdout);
  }
  std::remove(ppm.c_str());
  std::remove(mpc.c_str());
  std::remove((dir + "/bench_processing.cache").c_str());
  std::remove((dir + "/policy.xml").c_str());
  return 0;
}
