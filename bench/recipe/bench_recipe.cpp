// Times a typical stored recipe (grey, sharpen, 1024 x 768 with Mitchell,
// frame 4) on a 1920 x 1080 desktop capture, as every new picture gets it,
// against ImageMagick doing the same steps in one run on the same picture.
//
// ImageMagick's start-up and read are taken out as bench/processing does:
// its input is in the memory-mapped cache format (MPC) and the time of a run
// without any operation is subtracted. Ours includes the undo entries the
// picture window keeps. Prints the median of the runs and the spread
// (fastest and slowest) of each, and the ratio ours / ImageMagick.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "imaging/picture_proc.h"
#include "imaging/picture_recipe.h"

namespace {

using namespace vistrel;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920, kHeight = 1080, kRuns = 9;

// A desktop: a gradient wallpaper, a few windows with title bars, and
// lines of text-like marks in them.
TPictureBitmap Desktop() {
  TPictureBitmap pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pic.SetPixel(x, y, MakeColor(std::uint8_t(30 + x / 16), std::uint8_t(60 + y / 8), 140));
  std::mt19937 rng(7);
  const struct { int l, t, w, h; } windows[] = {
      {100, 80, 900, 600}, {600, 300, 1000, 650}, {1300, 60, 560, 900}, {40, 720, 700, 320}};
  for (const auto& w : windows) {
    for (int y = w.t; y < w.t + w.h; ++y)
      for (int x = w.l; x < w.l + w.w; ++x)
        pic.SetPixel(x, y, y < w.t + 28 ? MakeColor(50, 90, 170) : MakeColor(245, 245, 245));
    for (int line = w.t + 40; line + 12 < w.t + w.h; line += 18)
      for (int x = w.l + 10; x < w.l + w.w - 10; ++x)
        if (rng() % 3 == 0)
          for (int y = line; y < line + 10; ++y)
            if (rng() % 2) pic.SetPixel(x, y, MakeColor(20, 20, 20));
  }
  return pic;
}

void WritePpm(const TPictureBitmap& pic, const std::string& path) {
  std::ofstream f(path, std::ios::binary);
  f << "P6\n" << pic.Width() << " " << pic.Height() << "\n255\n";
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x) {
      const TColor c = pic.Pixel(x, y);
      const char rgb[3] = {char(RedOf(c)), char(GreenOf(c)), char(BlueOf(c))};
      f.write(rgb, 3);
    }
}

struct Times {
  std::vector<double> runs;
  double Median() const {
    std::vector<double> v = runs;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }
  double Min() const { return *std::min_element(runs.begin(), runs.end()); }
  double Max() const { return *std::max_element(runs.begin(), runs.end()); }
};

Times Measure(const std::function<void()>& fn) {
  Times t;
  for (int i = 0; i < kRuns; ++i) {
    const auto t0 = Clock::now();
    fn();
    t.runs.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return t;
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "failed: " << command << "\n";
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const std::string ppm = dir + "/bench_recipe.ppm", mpc = dir + "/bench_recipe.mpc";
  {
    std::ofstream policy(dir + "/policy.xml");
    policy << "<policymap>\n"
              "  <policy domain=\"resource\" name=\"memory\" value=\"4GiB\"/>\n"
              "  <policy domain=\"resource\" name=\"map\" value=\"8GiB\"/>\n"
              "</policymap>\n";
  }
  setenv("MAGICK_CONFIGURE_PATH", dir.c_str(), 1);
  const TPictureBitmap capture = Desktop();
  WritePpm(capture, ppm);
  Shell("convert " + ppm + " " + mpc);

  TPictureRecipe recipe;
  recipe.CheckBoxItem[efGrayscale] = true;
  recipe.CheckBoxItem[efSharpen] = true;
  recipe.PictureSize = 3;  // 1024 x 768
  recipe.RFrameSize = 4;
  const TBatchQuality quality{true, TResampleFilter::rfMitchell};

  const Times copy = Measure([&] { TPictureBitmap pic = capture; });
  const Times ours = Measure([&] {
    TPictureBitmap pic = capture;
    TUndoStack undo;
    TPictureProc proc(pic, undo);
    ApplyPictureRecipe(recipe, quality, pic, proc);
  });
  const std::string magick = "convert " + mpc + " ";
  const Times base = Measure([&] { Shell(magick + "null: 2>/dev/null"); });
  const Times theirs = Measure([&] {
    Shell(magick +
          "-filter Mitchell -resize 1024x768! -colorspace Gray "
          "-define convolve:scale=0.0625 -morphology Convolve '3x3: -1,0,-1 0,20,0 -1,0,-1' "
          "-bordercolor black -border 4 null: 2>/dev/null");
  });

  const double o = ours.Median() - copy.Median();
  const double t = theirs.Median() - base.Median();
  std::printf("Recipe grey + sharpen + 1024 x 768 Mitchell + frame 4 on a %d x %d capture, %d runs\n",
              kWidth, kHeight, kRuns);
  std::printf("%-34s %9s %9s %9s\n", "", "median s", "min s", "max s");
  std::printf("%-34s %9.4f %9.4f %9.4f\n", "ours (with undo entries)", ours.Median(), ours.Min(),
              ours.Max());
  std::printf("%-34s %9.4f %9.4f %9.4f\n", "  of which copying the capture", copy.Median(), copy.Min(),
              copy.Max());
  std::printf("%-34s %9.4f %9.4f %9.4f\n", "ImageMagick", theirs.Median(), theirs.Min(), theirs.Max());
  std::printf("%-34s %9.4f %9.4f %9.4f\n", "  of which start-up and read", base.Median(), base.Min(),
              base.Max());
  std::printf("ratio ours / ImageMagick (medians, start-up and copy taken out): %.2f\n",
              std::max(o, 1e-4) / std::max(t, 1e-4));
  std::printf("spread: %.2f .. %.2f (fastest ours / slowest theirs .. slowest ours / fastest theirs)\n",
              std::max(ours.Min() - copy.Median(), 1e-4) / std::max(theirs.Max() - base.Median(), 1e-4),
              std::max(ours.Max() - copy.Median(), 1e-4) / std::max(theirs.Min() - base.Median(), 1e-4));
  std::remove(ppm.c_str());
  std::remove(mpc.c_str());
  std::remove((dir + "/bench_recipe.cache").c_str());
  std::remove((dir + "/policy.xml").c_str());
  return 0;
}
