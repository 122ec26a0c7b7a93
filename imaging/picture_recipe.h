// The standard editing window's recipe of picture options and the batch that
// applies it to a picture. Plain C++: the window is only its editor.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/operations/resample.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

class TPictureProc;

// Items of the effects list, in list order.
enum TEffectItem { efGrayscale, efInvert, efSharpen, efHorizontalMirror, efVerticalMirror, efEmboss,
                   efTurn90, kEffectCount };

// Entries of the colour depth list.
enum TColorDepth { cdBlackWhite, cd16Colors, cd256Colors, cd32K, cd65K, cd16M, cd65M,
                   kColorDepthCount };

struct TRecipeSize {
  int width;
  int height;
};

// Entries 1..7 of the size list; entry 0 is "Default" (the zoom decides).
inline constexpr int kPictureSizeCount = 8;
inline constexpr TRecipeSize kPictureSizes[kPictureSizeCount] = {
    {0, 0}, {640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {768, 576}, {1152, 864}, {1600, 1200}};

// Ranges of the controls.
inline constexpr int kColorSliderMin = -255, kColorSliderMax = 255;
inline constexpr int kZoomMin = 10, kZoomMax = 800;
inline constexpr int kRotationMin = 0, kRotationMax = 360;
inline constexpr int kFrameSizeMax = 20;
// Larger targets are not resized at all.
inline constexpr std::int64_t kMaxTargetPixels = 4200000;

// Field names are the stored key names.
struct TPictureRecipe {
  std::array<bool, kEffectCount> CheckBoxItem{};
  int ColorDepth = cd65K;
  int PictureSize = 0;
  int RBrightness = 0;
  int RContrast = 0;
  int RSaturation = 0;
  int RRed = 0;
  int RGreen = 0;
  int RBlue = 0;
  int RZoom = 100;
  int RRotation = 0;
  bool RSubsituteColors = false;
  TColor RSubstituteColor1 = kBlack;
  TColor RSubstituteColor2 = kWhite;
  bool RSwapColors = false;
  TColor RSwapColor1 = kBlack;
  TColor RSwapColor2 = kWhite;
  TColor RFrameColor = kBlack;
  int RFrameSize = 0;

  // Every value brought into its control's range (for damaged stores).
  void Clamp();
  bool operator==(const TPictureRecipe&) const = default;
};

// What the picture window's option commands say.
struct TBatchQuality {
  bool antialias_rotate = true;                        // "Quality rotate"
  TResampleFilter filter = TResampleFilter::rfNone;    // "Quality zoom" on: the quality filter
};

// Filters of the window's buttons and effects.
inline constexpr std::array<int, 9> kBlurKernel = {1, 3, 1, 2, 20, 2, 1, 3, 1};
inline constexpr int kBlurDivisor = 33;

// a / b rounded to the nearest integer, halves to the even neighbour (b > 0).
std::int64_t RoundHalfEven(std::int64_t a, std::int64_t b);

// Step 3 of the batch: the size the recipe asks for a picture of this size,
// at least one pixel each way. `capped` tells that it exceeded
// kMaxTargetPixels, in which case the picture's own size is returned.
TRecipeSize RecipeTargetSize(const TPictureRecipe& recipe, int width, int height, bool* capped);

// The rotation the batch uses: 90 while "Turn 90°" is checked.
int RecipeRotation(const TPictureRecipe& recipe);

// Step 4 alone: the colour depth conversion of the recipe.
void ApplyColorDepth(int color_depth, TPictureProc& proc);

// Runs the whole recipe on the picture as it is (each run adds to the
// previous ones), every operation through `proc`, which works on `picture`.
void ApplyPictureRecipe(const TPictureRecipe& recipe, const TBatchQuality& quality,
                        TPictureBitmap& picture, TPictureProc& proc);

// Frame of `size` pixels in `color` around the whole picture: the canvas
// grows by 2 x size each way (through `proc`, one undo entry).
void AddPictureFrame(TPictureBitmap& picture, TPictureProc& proc, int size, TColor color);

}  // namespace vistrel
