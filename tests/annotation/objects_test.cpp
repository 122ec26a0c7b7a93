// The annotation layer's rules: keys, Shift constraints, marker numbers,
// what a click takes, moving and resizing.
#include <gtest/gtest.h>

#include <cmath>

#include "picture/annotation/annotation_objects.h"

namespace vistrel {
namespace {

using T = TAnnotationTool;

TEST(AnnotationObjects, KeysNameTheirTools) {
  const std::pair<char, T> keys[] = {{'A', T::Arrow},     {'l', T::Line},   {'R', T::Rectangle},
                                     {'e', T::Ellipse},   {'P', T::Pen},    {'h', T::Highlighter},
                                     {'N', T::Marker},    {'t', T::Text},   {'X', T::Pixelate},
                                     {'b', T::Blur},      {'Z', T::None},   {'1', T::None}};
  for (auto [key, tool] : keys) EXPECT_EQ(ToolForKey(key), tool) << key;
}

TEST(AnnotationObjects, ShiftSnapsLinesTo45DegreesAndMakesShapesSquare) {
  const TPointF start{100, 100};
  const struct {
    TPointF end, want;
  } lines[] = {
      {{200, 110}, {200.4987562, 100}},  // 5.7 degrees: flat, length kept
      {{120, 170}, {100, 172.8010989}},  // 74 degrees: straight down
      {{160, 150}, {155.2268051, 155.2268051}},  // 39.8 degrees: diagonal
      {{40, 90}, {39.1723747, 100}},
      {{50, 40}, {44.7731949, 44.7731949}},
  };
  for (const auto& c : lines) {
    const TPointF got = ConstrainedEnd(T::Arrow, start, c.end);
    EXPECT_NEAR(got.x, c.want.x, 1e-6) << c.end.x << "," << c.end.y;
    EXPECT_NEAR(got.y, c.want.y, 1e-6) << c.end.x << "," << c.end.y;
  }
  EXPECT_EQ(ConstrainedEnd(T::Rectangle, start, {130, 60}), (TPointF{140, 60}));
  EXPECT_EQ(ConstrainedEnd(T::Ellipse, start, {20, 110}), (TPointF{20, 180}));
  EXPECT_EQ(ConstrainedEnd(T::Pen, start, {20, 110}), (TPointF{20, 110}));
}

TAnnotation Shape(T tool, TPointF a, TPointF b, bool filled = false) {
  TAnnotation x;
  x.tool = tool;
  x.points = {a, b};
  x.filled = filled;
  return x;
}

TEST(AnnotationObjects, MarkersCountOnAndClicksTakeTheTopmostObjectByItsLines) {
  std::vector<TAnnotation> layer;
  EXPECT_EQ(NextMarkerNumber(layer), 1);
  TAnnotation marker;
  marker.tool = T::Marker;
  marker.points = {{300, 300}};
  marker.number = 5;
  layer.push_back(marker);
  marker.number = 2;
  layer.push_back(marker);
  EXPECT_EQ(NextMarkerNumber(layer), 6);

  layer = {Shape(T::Rectangle, {10, 10}, {110, 60}), Shape(T::Ellipse, {50, 30}, {90, 50}, true),
           Shape(T::Line, {0, 100}, {100, 200})};
  EXPECT_EQ(ObjectAt(layer, {10, 35}, 2), 0u);           // on the outline
  EXPECT_EQ(ObjectAt(layer, {30, 35}, 2), std::nullopt);  // inside an outline
  EXPECT_EQ(ObjectAt(layer, {70, 40}, 2), 1u);           // inside a filled one, on top
  EXPECT_EQ(ObjectAt(layer, {52, 150}, 2), 2u);          // within reach of the line
  EXPECT_EQ(ObjectAt(layer, {60, 150}, 2), std::nullopt);
}

TEST(AnnotationObjects, MovingAndResizingMapEveryPoint) {
  TAnnotation pen;
  pen.tool = T::Pen;
  pen.points = {{10, 10}, {20, 30}, {30, 20}};
  MoveAnnotation(pen, 5, -5);
  EXPECT_EQ(FrameOf(pen), (TRectF{15, 5, 35, 25}));
  ResizeAnnotation(pen, {15, 5, 55, 15});
  EXPECT_EQ(pen.points[1], (TPointF{35, 15}));
  EXPECT_EQ(pen.points[2], (TPointF{55, 10}));

  TAnnotation marker;
  marker.tool = T::Marker;
  marker.points = {{50, 50}};
  marker.width = 3;  // radius 16
  ResizeAnnotation(marker, {0, 0, 100, 100});  // keeps its size, moves
  EXPECT_EQ(marker.points[0], (TPointF{16, 16}));
}

}  // namespace
}  // namespace vistrel
