// The processing component of a picture window: runs the operations of the
// operation table on a picture, limited to its selection where the
// operation says so, with an undo entry before each change and progress
// reports in percent.
//
// An operation does nothing (and pushes no undo entry) on an empty picture,
// on a pixel format it does not take, or with arguments out of its range.
// Errors (a picture too large for the buffer) leave the picture and the
// undo stack as they were and propagate.
//
// When an operation changes the picture's size the selection is removed:
// its coordinates would name other pixels.
#pragma once

#include <cstdint>
#include <string_view>

#include "imaging/operation_table.h"
#include "imaging/operations/convolution.h"
#include "imaging/operations/flip_canvas.h"
#include "imaging/operations/resample.h"
#include "imaging/picture_bitmap.h"
#include "imaging/selection_geometry.h"
#include "imaging/undo_stack.h"

namespace vistrel {

class TPictureProc {
 public:
  TPictureProc(TPictureBitmap& picture, TUndoStack& undo) : picture_(picture), undo_(&undo) {}
  // Without undo entries, for batch work.
  explicit TPictureProc(TPictureBitmap& picture) : picture_(picture) {}

  // The selection the operations honour; nullptr for none. A selection made
  // for a picture of another size is ignored.
  void SetSelection(TSelection* selection) { selection_ = selection; }
  TColor Background() const { return background_; }
  void SetBackground(TColor color) { background_ = color; }
  void SetProgressHandler(TProgressFn handler) { progress_ = std::move(handler); }

  // Runs a table operation. Returns false when a gate stopped it; `result`
  // receives what the operation returns (CountColors).
  bool Run(const TOperation& op, TOpArgs args, std::int64_t* result = nullptr);
  // Same by name; false also for an unknown name.
  bool Run(std::string_view name, TOpArgs args, std::int64_t* result = nullptr);

  bool ConvertToGray();
  bool Negative();
  bool Flip(TFlipDirection direction);
  bool ApplyFilter(const TKernel3& kernel, int divisor);
  bool HSLvar(double hue, double saturation, double luminosity);
  bool Contrast(int amount);
  bool IntensityRGBall(int red, int green, int blue);
  bool CastColorRange(TColor begin, TColor end, TColor cast);
  bool SwapColors(TColor first, TColor second);
  // background -1: Background().
  bool Rotate(double degrees, bool antialias, std::int64_t background = -1);
  bool Resample(int width, int height, TResampleFilter filter);
  bool ImageResize(int width, int height, TCanvasAlign horizontal = TCanvasAlign::Start,
                   TCanvasAlign vertical = TCanvasAlign::Start);
  bool ConvertTo(int colors);
  bool ConvertToBWThreshold(int threshold);
  bool ConvertTo24Bit();
  // Distinct colours of the selection's box (or the whole picture).
  std::int64_t CountColors();
  bool ClearSel();
  bool CropSel();

  // For the clipboard: the whole picture without a selection; with one, its
  // bounding box in the background colour with the selected pixels copied.
  TPictureBitmap CopySelectionBitmap() const;
  // Paste: the bitmap replaces the whole picture (undo caption
  // "PasteFromClipboard"). An empty bitmap changes nothing.
  bool ReplacePicture(TPictureBitmap bitmap);

 private:
  // The selection's mask, or an empty mask without a usable selection.
  TPictureMask CurrentMask() const;
  void ForgetSelectionIfResized(int oldWidth, int oldHeight);

  TPictureBitmap& picture_;
  TUndoStack* undo_ = nullptr;
  TSelection* selection_ = nullptr;
  TColor background_ = kWhite;
  TProgressFn progress_;
};

}  // namespace vistrel
