// Drawing the marks of the annotation layer: on the view above the picture
// while they are edited, and into the picture when they are committed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/picture_bitmap.h"
#include "picture/annotation/annotation_objects.h"

class QPainter;

namespace vistrel {

// A redaction's pixels in the picture: left, top, right, bottom (the last
// two exclusive).
using TRedactedRect = std::array<int, 4>;

// The pixelated and blurred areas the overlay showed at its last repaint.
// A drag repaints many times a second; a blur over a large rectangle takes
// longer than that, so the marks that did not change keep their pixels.
// An area is taken again when its mark, or the picture under it, changed;
// the layer's owner empties it when the marks are committed.
class TRedactionPreviews {
 public:
  // RedactedArea's answer, reused where mark and pixels are the same.
  const TPictureBitmap& Area(const TPictureBitmap& picture, const TAnnotation& annotation,
                             int* left, int* top);
  // Forgets the areas no mark asked for since the last call.
  void DropUnused();
  void Clear() { entries_.clear(); }

 private:
  struct TEntry {
    TAnnotationTool tool;
    int width;
    TRedactedRect rect;
    std::uint64_t source;  // a hash of the picture's pixels under the mark
    TPictureBitmap area;
    bool used;
  };
  std::vector<TEntry> entries_;
};

// Draws one object with `painter`, whose coordinates are picture pixels
// (the view scales it). A point names the centre of its pixel. Pixelate
// and blur show the engine's result of `picture` under their rectangle,
// taken from `previews` where one is given.
void PaintAnnotation(QPainter& painter, const TAnnotation& annotation,
                     const TPictureBitmap& picture, TRedactionPreviews* previews = nullptr);

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
