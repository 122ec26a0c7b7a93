// State of the picture windows that outlives each one of them.
#pragma once

#include <array>
#include <string>

#include "imaging/operations/resample.h"

namespace vistrel {

// Set while an engine operation reports progress, while the stored picture
// options are applied and while a capture started from the window runs;
// commands that could interfere return while it is set.
inline bool PictureBusy = false;

// Set until a picture window has painted for the first time; destroying
// the window sets it again.
inline bool FirstPaintPending = true;

// Options > Quality Filter, for the resize presets: the triangle filter
// until a valid stored choice has been read.
inline TResampleFilter ResampleFilter = TResampleFilter::rfTriangle;

// The lines text insertion places on the picture; emptied when a picture
// window is destroyed.
inline constexpr int kTextLineCount = 33;
inline std::array<std::string, kTextLineCount> TextLineBuffer;

}  // namespace vistrel
