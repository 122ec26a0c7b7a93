// The marks a user puts on a picture before sharing it: arrows, lines,
// boxes, ellipses, pen and highlighter strokes, numbered markers, text and
// the pixelated or blurred rectangles that hide something. They lie on a
// layer above the picture, in picture coordinates, and stay editable until
// they are drawn into it. Plain rules, no widgets.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

enum class TAnnotationTool {
  None,
  Arrow,
  Line,
  Rectangle,
  Ellipse,
  Pen,
  Highlighter,
  Marker,
  Text,
  Pixelate,
  Blur,
};

struct TPointF {
  double x = 0;
  double y = 0;
  bool operator==(const TPointF&) const = default;
};

// Left, top, right, bottom; right and bottom exclusive as a picture's.
struct TRectF {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(TPointF p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool operator==(const TRectF&) const = default;
};

struct TAnnotation {
  TAnnotationTool tool = TAnnotationTool::None;
  // Two points for the shapes (start and end of the drag), every point of
  // a stroke, one for a marker or a text (its centre, its top-left).
  std::vector<TPointF> points;
  TColor color = MakeColor(255, 0, 0);
  int width = 3;         // line width; a marker's radius grows with it
  bool filled = false;   // rectangles and ellipses
  int number = 0;        // markers
  std::string text;      // text, lines separated by '\n'
  std::string font;      // text: the family
  int font_size = 0;     // text: in picture pixels
  TPointF extent;        // text: its laid-out width and height
};

// The tool of a key pressed without modifiers while the picture has the
// focus: A, L, R, E, P, H, N, T, X, B.
TAnnotationTool ToolForKey(char key);

// Tools whose mark is the drag's start and end (the others: every point
// of a stroke, or the one clicked point).
bool IsTwoPointShape(TAnnotationTool tool);

// The end of a drag with Shift held: lines and arrows at a multiple of 45
// degrees, rectangles and ellipses square, the drag's length kept.
TPointF ConstrainedEnd(TAnnotationTool tool, TPointF start, TPointF end);

// The number the next marker carries: one above the highest present.
int NextMarkerNumber(const std::vector<TAnnotation>& layer);

// The rectangle a drag from `a` to `b` spans.
TRectF SpannedRect(TPointF a, TPointF b);

// What an object covers on the picture, its line width included.
TRectF BoundsOf(const TAnnotation& annotation);

// The topmost object under `point`, `tolerance` picture pixels around
// lines counting as on them.
std::optional<std::size_t> ObjectAt(const std::vector<TAnnotation>& layer, TPointF point,
                                    double tolerance);

// Moves every point of the object.
void MoveAnnotation(TAnnotation& annotation, double dx, double dy);

// The frame the selection grips sit on: the rectangle of a shape's points,
// a marker's circle, a text's box.
TRectF FrameOf(const TAnnotation& annotation);

// A grip drag: the object's points mapped from its frame onto `frame`;
// markers and texts keep their size and move to the frame's corner.
void ResizeAnnotation(TAnnotation& annotation, const TRectF& frame);

}  // namespace vistrel
