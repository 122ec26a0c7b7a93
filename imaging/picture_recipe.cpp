#include "imaging/picture_recipe.h"

#include <algorithm>
#include <cstring>

#include "imaging/operations/convolution.h"
#include "imaging/picture_proc.h"

namespace vistrel {

namespace {

int ClampTo(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

// Stored colours are 0x00BBGGRR; anything above is not a colour of ours.
TColor ColorOnly(TColor c) { return c & 0x00FFFFFFu; }

// The batch uses a third of the slider, truncated toward zero (10 -> 3,
// -10 -> -3, 2 -> 0).
int SliderThird(int position) { return position / 3; }

}  // namespace

void TPictureRecipe::Clamp() {
  ColorDepth = ClampTo(ColorDepth, 0, kColorDepthCount - 1);
  PictureSize = ClampTo(PictureSize, 0, kPictureSizeCount - 1);
  for (int* v : {&RBrightness, &RContrast, &RSaturation, &RRed, &RGreen, &RBlue})
    *v = ClampTo(*v, kColorSliderMin, kColorSliderMax);
  RZoom = ClampTo(RZoom, kZoomMin, kZoomMax);
  RRotation = ClampTo(RRotation, kRotationMin, kRotationMax);
  RFrameSize = ClampTo(RFrameSize, 0, kFrameSizeMax);
  for (TColor* c : {&RSubstituteColor1, &RSubstituteColor2, &RSwapColor1, &RSwapColor2, &RFrameColor})
    *c = ColorOnly(*c);
}

std::int64_t RoundHalfEven(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  std::int64_t r = a % b;
  if (r < 0) {  // floor division, so the remainder is in [0, b)
    --q;
    r += b;
  }
  if (2 * r > b || (2 * r == b && (q & 1))) ++q;
  return q;
}

TRecipeSize RecipeTargetSize(const TPictureRecipe& recipe, int width, int height, bool* capped) {
  // Exact integer rounding: picture size / 100 x zoom.
  std::int64_t w = RoundHalfEven(std::int64_t(width) * recipe.RZoom, 100);
  std::int64_t h = RoundHalfEven(std::int64_t(height) * recipe.RZoom, 100);
  if (recipe.PictureSize >= 1 && recipe.PictureSize < kPictureSizeCount) {
    w = kPictureSizes[recipe.PictureSize].width;
    h = kPictureSizes[recipe.PictureSize].height;
  }
  // A tiny picture at a small zoom still keeps one pixel.
  w = std::max<std::int64_t>(w, 1);
  h = std::max<std::int64_t>(h, 1);
  const bool over = w * h > kMaxTargetPixels;
  if (capped) *capped = over;
  if (over) return {width, height};
  return {int(w), int(h)};
}

int RecipeRotation(const TPictureRecipe& recipe) {
  return recipe.CheckBoxItem[efTurn90] ? 90 : recipe.RRotation;
}

void ApplyColorDepth(int color_depth, TPictureProc& proc) {
  switch (color_depth) {
    case cdBlackWhite: proc.ConvertToBWThreshold(-1); break;
    case cd16Colors: proc.ConvertTo(16); break;
    case cd256Colors: proc.ConvertTo(256); break;
    default: proc.ConvertTo24Bit(); break;
  }
}

void AddPictureFrame(TPictureBitmap& picture, TPictureProc& proc, int size, TColor color) {
  if (size <= 0 || picture.Empty()) return;
  // Sized from the picture as it is now, so the frame fits it exactly.
  const int w = picture.Width();
  const int h = picture.Height();
  const int cw = w + 2 * size;
  const int ch = h + 2 * size;
  if (!proc.ImageResize(cw, ch)) return;
  if (picture.Width() != cw || picture.Height() != ch) return;

  // The picture moves from the top-left corner to (size, size).
  if (!picture.IsMono()) {
    for (int y = ch - 1; y >= size; --y) {
      std::uint8_t* row = picture.Row(y);
      std::memmove(row + std::size_t(size) * 3, picture.Row(y - size), std::size_t(cw - size) * 3);
    }
  } else {
    for (int y = ch - 1; y >= size; --y)
      for (int x = cw - 1; x >= size; --x) picture.SetPixel(x, y, picture.Pixel(x - size, y - size));
  }
  // `size` nested outlines, right and bottom exclusive.
  for (int i = 0; i < size; ++i) {
    const int right = cw - i - 1;
    const int bottom = ch - i - 1;
    for (int x = i; x <= right; ++x) {
      picture.SetPixel(x, i, color);
      picture.SetPixel(x, bottom, color);
    }
    for (int y = i; y <= bottom; ++y) {
      picture.SetPixel(i, y, color);
      picture.SetPixel(right, y, color);
    }
  }
}

void ApplyPictureRecipe(const TPictureRecipe& recipe, const TBatchQuality& quality,
                        TPictureBitmap& picture, TPictureProc& proc) {
  const auto& effect = recipe.CheckBoxItem;

  // 1-2. Rotation (90 while "Turn 90°" is checked).
  if (const int rotation = RecipeRotation(recipe); rotation != 0)
    proc.Rotate(rotation, quality.antialias_rotate);

  // 3. Target size from the picture after the rotation.
  bool capped = false;
  const TRecipeSize target = RecipeTargetSize(recipe, picture.Width(), picture.Height(), &capped);

  // 4. Colour depth.
  ApplyColorDepth(recipe.ColorDepth, proc);

  // 5. Size: the zoom keeps the proportions, a fixed size does not.
  if (!capped) {
    if (recipe.PictureSize == 0) {
      if (recipe.RZoom != 100) proc.Resample(target.width, -1, quality.filter);
    } else {
      proc.Resample(target.width, target.height, quality.filter);
    }
  }

  // 6-9. Colours.
  if (recipe.RRed != 0 || recipe.RGreen != 0 || recipe.RBlue != 0)
    proc.IntensityRGBall(recipe.RRed, recipe.RGreen, recipe.RBlue);
  if (const int b = SliderThird(recipe.RBrightness); recipe.RBrightness != 0) proc.HSLvar(0, 0, b);
  if (const int s = SliderThird(recipe.RSaturation); recipe.RSaturation != 0) proc.HSLvar(0, s, 0);
  if (recipe.RContrast != 0) proc.Contrast(SliderThird(recipe.RContrast));

  // 10-13.
  if (effect[efInvert]) proc.Negative();
  if (effect[efGrayscale]) proc.ConvertToGray();
  if (recipe.RSubsituteColors)
    proc.CastColorRange(recipe.RSubstituteColor1, recipe.RSubstituteColor1, recipe.RSubstituteColor2);
  if (recipe.RSwapColors) proc.SwapColors(recipe.RSwapColor1, recipe.RSwapColor2);

  // 14-17.
  if (effect[efHorizontalMirror]) proc.Flip(TFlipDirection::Horizontal);
  if (effect[efVerticalMirror]) proc.Flip(TFlipDirection::Vertical);
  if (effect[efEmboss]) proc.ApplyFilter(kEmbossKernel, kEmbossDivisor);
  if (effect[efSharpen]) proc.ApplyFilter(kSharpenKernel, kSharpenDivisor);

  // 18. Frame.
  AddPictureFrame(picture, proc, recipe.RFrameSize, recipe.RFrameColor);
}

}  // namespace vistrel
