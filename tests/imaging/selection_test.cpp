#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "imaging/selection_geometry.h"

namespace vistrel {
namespace {

TEST(EllipseGeometry, VertexCountHasAFloorOfFifty) {
  EXPECT_EQ(TSelection::EllipseVertexCount(3, 40), 50);
  EXPECT_EQ(TSelection::EllipseVertexCount(40, 3), 50);
  EXPECT_EQ(TSelection::EllipseVertexCount(0, 0), 50);
  EXPECT_EQ(TSelection::EllipseVertexCount(40, 100), 251);  // round(40 * 2 pi)
  EXPECT_EQ(TSelection::EllipseVertexCount(-40, 100), 251);
}

TEST(EllipseGeometry, VerticesStartAtAngleZeroAndStayInsideThePicture) {
  const auto poly = TSelection::EllipsePolygon(10, 10, 8, 4, 100, 100);
  ASSERT_EQ(poly.size(), 50u);
  EXPECT_EQ(poly[0], (TPicturePoint{18, 10}));
  const auto clamped = TSelection::EllipsePolygon(5, 5, 40, 3, 20, 8);
  for (const TPicturePoint& p : clamped) {
    EXPECT_GE(p.x, 0);
    EXPECT_LE(p.x, 20);
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.y, 8);
  }
}

TEST(SelectionRect, IsInclusiveAndClippedToThePicture) {
  TSelection sel(100, 50);
  sel.SelectRect(10, 5, 19, 14);
  EXPECT_TRUE(sel.IsSingleRect());
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{10, 5, 19, 14}));
  const TPictureMask mask = sel.BuildMask();
  EXPECT_EQ(mask.SelectedCount(), 100u);
  EXPECT_TRUE(mask.Inside(19, 14));
  EXPECT_FALSE(mask.Inside(20, 14));

  sel.SelectRect(90, 40, 120, -10);  // corners swapped and beyond the picture
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{90, 0, 99, 40}));
}

TEST(SelectionRect, WhollyOutsideSelectsNothing) {
  TSelection sel(100, 50);
  sel.SelectRect(200, 200, 300, 300);
  EXPECT_FALSE(sel.HasSelection());
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{0, 0, 99, 49}));  // whole picture
  EXPECT_TRUE(sel.BuildMask().Empty());
  sel.SelectRect(-10, -10, -1, -1);
  EXPECT_FALSE(sel.HasSelection());
}

TEST(SelectionShapes, ShiftJoinsShapesAndDropsTheGrips) {
  TSelection sel(100, 100);
  sel.SelectRect(0, 0, 9, 9);
  sel.SelectRect(5, 5, 14, 14, true);
  EXPECT_FALSE(sel.IsSingleRect());
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{0, 0, 14, 14}));
  EXPECT_EQ(sel.BuildMask().SelectedCount(), 100u + 100u - 25u);  // overlap counted once
  sel.SelectEllipse(50, 50, 10, 10);
  EXPECT_FALSE(sel.IsSingleRect());
  EXPECT_EQ(sel.Shapes().size(), 1u);
}

TEST(SelectionShapes, EllipseMaskFillsThePolygon) {
  TSelection sel(100, 100);
  sel.SelectEllipse(50, 50, 20, 10);
  const TPictureMask mask = sel.BuildMask();
  EXPECT_EQ(mask.BoundingBox(), sel.BoundingBox());
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{30, 40, 69, 59}));
  EXPECT_TRUE(mask.Inside(50, 50));
  EXPECT_FALSE(mask.Inside(30, 40));  // corner of the box
  EXPECT_FALSE(mask.Inside(69, 59));
  // Area close to pi * rx * ry.
  EXPECT_NEAR(double(mask.SelectedCount()), 3.14159 * 200, 20);
}

TEST(SelectionMove, ShiftsAndLimitsToThePicture) {
  TSelection sel(100, 100);
  sel.SelectRect(10, 10, 19, 19);
  sel.MoveBy(5, -3);
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{15, 7, 24, 16}));
  EXPECT_EQ(sel.LimitMove(1000, -1000), (TPicturePoint{75, -7}));
  sel.MoveBy(200, 0);  // pushed out entirely
  EXPECT_FALSE(sel.HasSelection());

  sel.SelectEllipse(50, 50, 10, 10);
  const TPictureRect before = sel.BoundingBox();
  sel.MoveBy(7, 2);
  const TPictureRect after = sel.BoundingBox();
  EXPECT_EQ(after.left, before.left + 7);
  EXPECT_EQ(after.bottom, before.bottom + 2);
}

TEST(SelectionEdges, EmptyPictureAndDegenerateShapes) {
  TSelection none;
  none.SelectRect(0, 0, 10, 10);
  EXPECT_FALSE(none.HasSelection());
  EXPECT_TRUE(none.BoundingBox().Empty());
  TSelection sel(10, 10);
  sel.SelectEllipse(5, 5, 0, 0);
  EXPECT_FALSE(sel.HasSelection());
  sel.SelectRect(1, 1, 3, 3);
  sel.SetPictureSize(20, 20);
  EXPECT_FALSE(sel.HasSelection());
}

TEST(SelectionEdges, AbsurdCoordinatesAreClippedQuickly) {
  TSelection sel(100, 80);
  sel.SelectRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(sel.BoundingBox(), (TPictureRect{0, 0, 99, 79}));
  sel.SelectEllipse(50, 40, 1e9, 1e9);  // capped vertex count, every vertex on the border
  EXPECT_EQ(sel.BuildMask().SelectedCount(), 8000u);
  sel.SelectEllipse(1e12, -1e12, 5, 5);
  EXPECT_FALSE(sel.HasSelection());
  sel.SelectEllipse(50, 40, std::nan(""), 5);
  EXPECT_FALSE(sel.HasSelection());
}

}  // namespace
}  // namespace vistrel
