#include "picture_proc.h"

#include "imaging/operations/picture_area.h"

namespace vistrel {

namespace {

TOpArgs Args(std::initializer_list<double> values) { return TOpArgs{std::vector<double>(values)}; }

}  // namespace

TPictureMask TPictureProc::CurrentMask() const {
  if (!selection_ || !selection_->HasSelection() || selection_->PictureWidth() != picture_.Width() ||
      selection_->PictureHeight() != picture_.Height())
    return TPictureMask(picture_.Width(), picture_.Height());
  return selection_->BuildMask();
}

void TPictureProc::ForgetSelectionIfResized(int oldWidth, int oldHeight) {
  if (selection_ && (picture_.Width() != oldWidth || picture_.Height() != oldHeight))
    selection_->SetPictureSize(picture_.Width(), picture_.Height());
}

bool TPictureProc::Run(const TOperation& op, TOpArgs args, std::int64_t* result) {
  if (picture_.Empty() || !AcceptsFormat(op, picture_) || !CompleteArgs(op.args, args)) return false;
  if (op.accepts && !op.accepts(picture_, args)) return false;

  const TPictureMask mask = CurrentMask();
  const TPictureMask* selected = mask.Empty() ? nullptr : &mask;
  TProgress progress(&progress_);
  const TOpContext context{picture_, selected, background_, progress};
  const int old_width = picture_.Width(), old_height = picture_.Height();

  const bool pushed = op.caption && undo_ && undo_->PushUndo(picture_, op.caption(args));
  std::int64_t value = 0;
  try {
    const bool limited = op.area == TOpArea::Selection || op.area == TOpArea::SelectionOnly;
    if (limited && selected) {
      TPictureBitmap area = CopyArea(picture_, mask.BoundingBox());
      value = op.apply(area, context, args);
      PasteThroughMask(picture_, area, mask);
    } else if (op.area != TOpArea::SelectionOnly) {
      value = op.apply(picture_, context, args);
    }
  } catch (...) {
    if (pushed) undo_->DropNewestUndo();
    throw;
  }
  progress.Finish();
  ForgetSelectionIfResized(old_width, old_height);
  if (result) *result = value;
  return true;
}

bool TPictureProc::Run(std::string_view name, TOpArgs args, std::int64_t* result) {
  const TOperation* op = FindOperation(name);
  return op && Run(*op, std::move(args), result);
}

bool TPictureProc::ConvertToGray() { return Run("ConvertToGray", {}); }
bool TPictureProc::Negative() { return Run("Negative", {}); }
bool TPictureProc::Flip(TFlipDirection direction) { return Run("Flip", Args({double(int(direction))})); }

bool TPictureProc::ApplyFilter(const TKernel3& kernel, int divisor) {
  TOpArgs args;
  for (int k : kernel) args.values.push_back(k);
  args.values.push_back(divisor);
  return Run("ApplyFilter", std::move(args));
}

bool TPictureProc::HSLvar(double hue, double saturation, double luminosity) {
  return Run("HSLvar", Args({hue, saturation, luminosity}));
}
bool TPictureProc::Contrast(int amount) { return Run("Contrast", Args({double(amount)})); }
bool TPictureProc::IntensityRGBall(int red, int green, int blue) {
  return Run("IntensityRGBall", Args({double(red), double(green), double(blue)}));
}
bool TPictureProc::CastColorRange(TColor begin, TColor end, TColor cast) {
  return Run("CastColorRange", Args({double(begin), double(end), double(cast)}));
}
bool TPictureProc::SwapColors(TColor first, TColor second) {
  return Run("SwapColors", Args({double(first), double(second)}));
}
bool TPictureProc::Rotate(double degrees, bool antialias, std::int64_t background) {
  return Run("Rotate", Args({degrees, antialias ? 1.0 : 0.0, double(background < 0 ? -1 : background)}));
}
bool TPictureProc::Resample(int width, int height, TResampleFilter filter) {
  return Run("Resample", Args({double(width), double(height), double(int(filter))}));
}
bool TPictureProc::ImageResize(int width, int height, TCanvasAlign horizontal, TCanvasAlign vertical) {
  return Run("ImageResize", Args({double(width), double(height), double(int(horizontal)), double(int(vertical))}));
}
bool TPictureProc::ConvertTo(int colors) { return Run("ConvertTo", Args({double(colors)})); }
bool TPictureProc::ConvertToBWThreshold(int threshold) {
  return Run("ConvertToBWThreshold", Args({double(threshold)}));
}
bool TPictureProc::ConvertTo24Bit() { return Run("ConvertTo24Bit", {}); }

std::int64_t TPictureProc::CountColors() {
  std::int64_t count = 0;
  return Run("CountColors", {}, &count) ? count : 0;
}

bool TPictureProc::ClearSel() { return Run("ClearSel", {}); }
bool TPictureProc::CropSel() { return Run("CropSel", {}); }

TPictureBitmap TPictureProc::CopySelectionBitmap() const {
  const TPictureMask mask = CurrentMask();
  if (mask.Empty()) return picture_;
  return CopyMaskedArea(picture_, mask, background_);
}

bool TPictureProc::ReplacePicture(TPictureBitmap bitmap) {
  if (bitmap.Empty()) return false;
  const int old_width = picture_.Width(), old_height = picture_.Height();
  if (undo_) undo_->PushUndo(picture_, "PasteFromClipboard");
  picture_ = std::move(bitmap);
  ForgetSelectionIfResized(old_width, old_height);
  TProgress(&progress_).Finish();
  return true;
}

}  // namespace vistrel
