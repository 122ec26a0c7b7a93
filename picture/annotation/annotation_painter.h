// Drawing the marks of the annotation layer: on the view above the picture
// while they are edited, and into the picture when they are committed.
#pragma once

#include <vector>

#include "imaging/picture_bitmap.h"
#include "picture/annotation/annotation_objects.h"

class QPainter;

namespace vistrel {

// Draws one object with `painter`, whose coordinates are picture pixels
// (the view scales it). A point names the centre of its pixel. Pixelate
// and blur show the engine's result of `picture` under their rectangle.
void PaintAnnotation(QPainter& painter, const TAnnotation& annotation,
                     const TPictureBitmap& picture);

// Draws the whole layer into a 24-bit picture at its own resolution,
// antialiased, in layer order: a pixelate or blur rectangle runs the
// engine's operation on what lies under it by then, so its pixels hold
// only the computed values.
void DrawAnnotationsInto(TPictureBitmap& picture, const std::vector<TAnnotation>& layer);

// The pixels of `picture` inside the object's rectangle (cut to the
// picture), pixelated or blurred as committing would leave them.
TPictureBitmap RedactedArea(const TPictureBitmap& picture, const TAnnotation& annotation,
                            int* left, int* top);

}  // namespace vistrel
