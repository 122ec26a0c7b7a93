// State of the picture windows that outlives each one of them.
#pragma once

#include "imaging/operations/resample.h"

namespace vistrel {

struct TPictureState {
  // Set while an engine operation reports progress, while the stored
  // picture options are applied and while a capture started from the window
  // runs; commands that could interfere return while it is set.
  bool PictureBusy = false;
  // Set until a picture window has painted for the first time; destroying
  // the window sets it again.
  bool FirstPaintPending = true;
  // Options > Quality Filter, for the resize presets: the triangle filter
  // until a valid stored choice has been read.
  TResampleFilter ResampleFilter = TResampleFilter::rfTriangle;
};

}  // namespace vistrel
