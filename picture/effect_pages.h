// The fourteen pages of the effects dialog ("Previews"), described once:
// title, controls with their ranges and neutral values, and the effect the
// page runs with its controls' values.
#pragma once

#include <span>
#include <vector>

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TEffectControl {
  enum TKind { Slider, Number, Check, Choice };
  const char* caption;
  TKind kind;
  int min;
  int max;
  int neutral;
  std::vector<const char*> choices;  // Choice: the items, values 0..n-1
};

struct TEffectPage {
  const char* title;  // also the undo caption of the applied effect
  std::vector<TEffectControl> controls;
  // Runs the effect on the picture (which may change its size) with one
  // value per control.
  void (*apply)(TPictureBitmap& picture, const std::vector<int>& values, TProgress& progress);
};

// In the dialog's order: "Contrast", "HSV", "HSL", "RGB", "User filter",
// "Equalization", "Bump map", "Lens", "Wave", "Morph filters", "Rotate",
// "FFT", "Gamma Correction", "Sharpen".
std::span<const TEffectPage> EffectPages();

// The neutral value of every control of a page.
std::vector<int> NeutralValues(const TEffectPage& page);

// The effects dialog works on 24-bit pictures at least 2 pixels wide or high.
bool EffectsAccept(const TPictureBitmap& picture);

}  // namespace vistrel
