#include "picture/effect_pages.h"

#include "imaging/operations/color_ops.h"
#include "imaging/operations/convolution.h"
#include "imaging/operations/effects.h"
#include "imaging/operations/flip_canvas.h"
#include "imaging/operations/hsl_adjust.h"
#include "imaging/operations/rotate.h"

namespace vistrel {

namespace {

using C = TEffectControl;
using V = std::vector<int>;

TEffectControl Kernel(const char* caption, int neutral) { return {caption, C::Number, -kMaxKernelValue, kMaxKernelValue, neutral, {}}; }

const std::vector<TEffectPage>& Pages() {
  static const std::vector<TEffectPage> pages = {
      {"Contrast",
       {{"Contrast", C::Slider, -100, 100, 0, {}}, {"Brightness", C::Slider, -100, 100, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectContrast(p, v[0], v[1], g); }},
      {"HSV",
       {{"Hue", C::Slider, -180, 180, 0, {}}, {"Saturation", C::Slider, -100, 100, 0, {}},
        {"Value", C::Slider, -100, 100, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectHsv(p, v[0], v[1], v[2], g); }},
      {"HSL",
       {{"Hue", C::Slider, -180, 180, 0, {}}, {"Saturation", C::Slider, -100, 100, 0, {}},
        {"Luminosity", C::Slider, -100, 100, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) {
         if (v[0] != 0 || v[1] != 0 || v[2] != 0) AdjustHsl(p, v[0], v[1], v[2], g);
       }},
      {"RGB",
       {{"Red", C::Slider, -255, 255, 0, {}}, {"Green", C::Slider, -255, 255, 0, {}}, {"Blue", C::Slider, -255, 255, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { AddToChannels(p, v[0], v[1], v[2], g); }},
      {"User filter",
       {Kernel("", 0), Kernel("", 0), Kernel("", 0), Kernel("", 0), Kernel("", 1), Kernel("", 0), Kernel("", 0),
        Kernel("", 0), Kernel("", 0), {"Divisor", C::Number, -kMaxKernelValue, kMaxKernelValue, 1, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) {
         TKernel3 kernel;
         for (std::size_t i = 0; i < 9; ++i) kernel[i] = v[i];
         // Divisor 0 counts as 1.
         Convolve3x3(p, kernel, v[9] == 0 ? 1 : v[9], g);
       }},
      {"Equalization",
       {{"Threshold low", C::Slider, 0, 255, 0, {}}, {"Threshold high", C::Slider, 0, 255, 255, {}},
        {"Equalization low", C::Slider, 0, 255, 0, {}}, {"Equalization high", C::Slider, 0, 255, 255, {}},
        {"Histogram", C::Choice, 0, 3, 3, {"Red", "Green", "Blue", "Grey"}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectLevels(p, v[0], v[1], v[2], v[3], g); }},
      {"Bump map",
       {{"Depth", C::Slider, 0, 100, 0, {}}, {"Light direction", C::Slider, 0, 359, 135, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectBumpMap(p, v[0], v[1], g); }},
      {"Lens", {{"Strength", C::Slider, -100, 100, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectLens(p, v[0], g); }},
      {"Wave",
       {{"Amplitude", C::Slider, 0, 50, 0, {}}, {"Wavelength", C::Slider, 2, 200, 20, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectWave(p, v[0], v[1], g); }},
      {"Morph filters",
       {{"Filter", C::Choice, 0, 3, 0, {"Dilate", "Erode", "Open", "Close"}}, {"Radius", C::Slider, 0, 10, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectMorph(p, v[0], v[1], g); }},
      {"Rotate",
       {{"Flip horizontally", C::Check, 0, 1, 0, {}}, {"Flip vertically", C::Check, 0, 1, 0, {}},
        {"Rotate angle", C::Slider, -180, 180, 0, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) {
         if (v[0]) FlipPicture(p, TFlipDirection::Horizontal, g);
         if (v[1]) FlipPicture(p, TFlipDirection::Vertical, g);
         if (v[2] != 0) p = RotatePicture(p, v[2], true, kWhite, g);
       }},
      {"FFT",
       {{"Filter", C::Choice, 0, 1, 0, {"Low pass", "High pass"}}, {"Cutoff", C::Slider, 0, 100, 100, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectFft(p, v[0], v[1], g); }},
      {"Gamma Correction", {{"Gamma (x 100)", C::Slider, 10, 500, 100, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectGamma(p, v[0], g); }},
      {"Sharpen",
       {{"Amplitude", C::Slider, 0, 100, 0, {}}, {"Window size", C::Slider, 3, 15, 3, {}}},
       [](TPictureBitmap& p, const V& v, TProgress& g) { EffectSharpen(p, v[0], v[1], g); }},
  };
  return pages;
}

}  // namespace

std::span<const TEffectPage> EffectPages() { return Pages(); }

std::vector<int> NeutralValues(const TEffectPage& page) {
  std::vector<int> values;
  for (const TEffectControl& control : page.controls) values.push_back(control.neutral);
  return values;
}

bool EffectsAccept(const TPictureBitmap& picture) {
  return !picture.IsMono() && !picture.Empty() && (picture.Width() >= 2 || picture.Height() >= 2);
}

}  // namespace vistrel
