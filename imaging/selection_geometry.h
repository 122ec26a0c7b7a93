// The selection of a picture as geometry in picture pixels.
//
// A selection is a list of shapes joined by union (Shift adds a shape): axis-
// aligned rectangles and ellipses stored as polygons. Coordinates are picture
// pixels; a rectangle covers the pixels left..right, top..bottom inclusive,
// a polygon's vertices lie on pixel corners (0..width, 0..height).
//
// Mask rule for polygons: a pixel is selected when its centre (x + 0.5,
// y + 0.5) lies inside the polygon by the even-odd rule. Shapes are filled one
// by one and joined, so overlapping shapes never cancel each other.
#pragma once

#include <vector>

#include "imaging/picture_mask.h"

namespace vistrel {

struct TPicturePoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPicturePoint&) const = default;
};

struct TSelectionShape {
  enum class Kind { Rectangle, Polygon };
  Kind kind = Kind::Rectangle;
  TPictureRect rect;                    // Rectangle
  std::vector<TPicturePoint> polygon;   // Polygon
  bool operator==(const TSelectionShape&) const = default;
};

class TSelection {
 public:
  TSelection() = default;
  TSelection(int pictureWidth, int pictureHeight);

  int PictureWidth() const { return width_; }
  int PictureHeight() const { return height_; }
  // A new picture size removes the selection.
  void SetPictureSize(int width, int height);

  // True when at least one picture pixel is selected.
  bool HasSelection() const { return !shapes_.empty(); }
  const std::vector<TSelectionShape>& Shapes() const { return shapes_; }
  void Clear() { shapes_.clear(); }

  // Corners may come in any order; the rectangle is clipped to the picture.
  // add = Shift held: joined to the selection, otherwise it replaces it.
  // A rectangle wholly outside the picture selects nothing.
  void SelectRect(int left, int top, int right, int bottom, bool add = false);
  // Centre and radii in picture pixels (negative radii count as positive).
  void SelectEllipse(double cx, double cy, double rx, double ry, bool add = false);

  // Vertex count of an ellipse: max(50, round(min(rx, ry) * 2 * pi)).
  static int EllipseVertexCount(double rx, double ry);
  // Vertex k at angle 2 * pi * k / n, clamped into 0..width and 0..height.
  static std::vector<TPicturePoint> EllipsePolygon(double cx, double cy, double rx, double ry,
                                                   int pictureWidth, int pictureHeight);

  // Box of the selected pixels, right and bottom inclusive; the whole picture
  // without a selection.
  TPictureRect BoundingBox() const;
  // True for exactly one rectangle: only then can the selection be resized
  // by grips.
  bool IsSingleRect() const;

  // Shifts every shape by (dx, dy) and clips the result to the picture.
  // Callers that must keep the shape intact limit the move with LimitMove.
  void MoveBy(int dx, int dy);
  // (dx, dy) reduced so that the bounding box stays inside the picture.
  TPicturePoint LimitMove(int dx, int dy) const;
  // Clips every shape to the picture; shapes left without pixels vanish.
  void ClipToPicture();

  TPictureMask BuildMask() const;

  bool operator==(const TSelection&) const = default;

 private:
  TPictureRect ShapeBox(const TSelectionShape& shape) const;
  bool ShapeHasPixels(const TSelectionShape& shape) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<TSelectionShape> shapes_;
};

}  // namespace vistrel
