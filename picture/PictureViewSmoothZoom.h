// Drawing a shrunk picture through a resampling filter, so that text and
// fine lines stay readable below 100 % ("Quality zoom").
#pragma once

#include <QImage>
#include <QPoint>

#include "imaging/operations/resample.h"
#include "imaging/picture_bitmap.h"
#include "imaging/view_geometry.h"

namespace vistrel {

// Like DrawZoomedPicture, but each client pixel is the filter-weighted mean
// of the picture pixels it covers (the kernel widened by the shrink factor).
// Meant for zooms below 100 %; `filter` must not be rfNone.
void DrawFilteredPicture(const TPictureBitmap& picture, const TViewAxis& x, const TViewAxis& y,
                         double zoom_percent, TResampleFilter filter, QPoint offset,
                         QImage& target);

}  // namespace vistrel
