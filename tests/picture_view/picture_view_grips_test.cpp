// The resize and square-drawing rules in picture pixels.
#include <gtest/gtest.h>

#include "picture/PictureViewGrips.h"

namespace vistrel {
namespace {

TEST(GripDrag, ASideStopsShortThenCrossesOver) {
  TGripDrag drag({50, 20, 150, 80}, TGrip::Left);
  EXPECT_EQ(drag.Drag(50, 9, false, 200, 100, true), (TPictureRect{100, 20, 150, 80}));
  EXPECT_EQ(drag.Drag(100, 0, false, 200, 100, true), (TPictureRect{149, 20, 150, 80}));
  EXPECT_EQ(drag.Drag(120, 0, false, 200, 100, true), (TPictureRect{150, 20, 170, 80}));
  EXPECT_EQ(drag.CurrentGrip(), TGrip::Right);
  // Back onto the fixed side from beyond: one pixel short on that side.
  EXPECT_EQ(drag.Drag(100, 0, false, 200, 100, true), (TPictureRect{150, 20, 151, 80}));
  EXPECT_EQ(drag.Drag(-10, 0, false, 200, 100, true), (TPictureRect{40, 20, 150, 80}));
  EXPECT_EQ(drag.CurrentGrip(), TGrip::Left);
}

TEST(GripDrag, ACornerSwapsBothWaysAndStaysInThePicture) {
  TGripDrag drag({50, 20, 150, 80}, TGrip::TopLeft);
  EXPECT_EQ(drag.Drag(120, 200, false, 200, 100, true), (TPictureRect{150, 80, 170, 99}));
  EXPECT_EQ(drag.CurrentGrip(), TGrip::BottomRight);
  EXPECT_EQ(GripCursorId(drag.CurrentGrip()), 1786);
  EXPECT_EQ(drag.Drag(120, -50, false, 200, 100, true), (TPictureRect{150, 0, 170, 80}));
  EXPECT_EQ(drag.CurrentGrip(), TGrip::TopRight);
  EXPECT_EQ(GripCursorId(drag.CurrentGrip()), 1788);
  // Without cutting the rectangle may leave the picture (it is clipped later).
  EXPECT_EQ(drag.Drag(-100, -100, false, 200, 100, false), (TPictureRect{-50, -80, 150, 80}));
}

TEST(GripDrag, AtThePictureBorderTheOnlyRoomIsInside) {
  // A one-pixel-wide rectangle at the right border, dragged onto itself.
  TGripDrag drag({199, 0, 199, 10}, TGrip::Right);
  EXPECT_EQ(drag.Drag(0, 0, false, 200, 100, true), (TPictureRect{198, 0, 199, 10}));
  EXPECT_EQ(drag.Drag(50, 0, false, 200, 100, true), (TPictureRect{198, 0, 199, 10}));
  TGripDrag tiny({0, 0, 0, 0}, TGrip::BottomRight);
  EXPECT_EQ(tiny.Drag(0, 0, false, 1, 1, true), (TPictureRect{0, 0, 0, 0}));
}

TEST(GripDrag, AltKeepsTheRatio) {
  TGripDrag corner({50, 20, 150, 70}, TGrip::BottomRight);
  EXPECT_EQ(corner.Drag(-20, 0, true, 200, 100, true), (TPictureRect{50, 20, 130, 60}));
  EXPECT_EQ(corner.Drag(-20, 20, true, 200, 100, true), (TPictureRect{50, 20, 190, 90}));

  TGripDrag side({50, 20, 150, 70}, TGrip::Right);
  // 200 wide would leave the picture: 149 wide, 75 high.
  EXPECT_EQ(side.Drag(100, 0, true, 200, 100, true), (TPictureRect{50, 20, 199, 95}));
  TGripDrag top({50, 20, 150, 70}, TGrip::Top);
  EXPECT_EQ(top.Drag(0, -10, true, 200, 100, true), (TPictureRect{50, 10, 170, 70}));
}

TEST(GripDrag, CursorsOfTheEightGrips) {
  EXPECT_EQ(GripCursorId(TGrip::TopLeft), 1786);
  EXPECT_EQ(GripCursorId(TGrip::BottomRight), 1786);
  EXPECT_EQ(GripCursorId(TGrip::TopRight), 1788);
  EXPECT_EQ(GripCursorId(TGrip::BottomLeft), 1788);
  EXPECT_EQ(GripCursorId(TGrip::Left), 1789);
  EXPECT_EQ(GripCursorId(TGrip::Right), 1789);
  EXPECT_EQ(GripCursorId(TGrip::Top), 1787);
  EXPECT_EQ(GripCursorId(TGrip::Bottom), 1787);
}

TEST(DragRect, SquaresKeepTheirDirectionAndStayInside) {
  EXPECT_EQ(DragRect(10, 10, 70, 25, false, 200, 100, true), (TPictureRect{10, 10, 70, 25}));
  EXPECT_EQ(DragRect(10, 10, 70, 25, true, 200, 100, true), (TPictureRect{10, 10, 70, 70}));
  EXPECT_EQ(DragRect(50, 50, 20, 45, true, 200, 100, true), (TPictureRect{20, 20, 50, 50}));
  EXPECT_EQ(DragRect(10, 80, 90, 99, true, 200, 100, true), (TPictureRect{10, 80, 29, 99}));
  EXPECT_EQ(DragRect(10, 80, 90, 99, true, 200, 100, false), (TPictureRect{10, 80, 90, 160}));
  EXPECT_EQ(DragRect(0, 0, 2147483647, -2147483647 - 1, true, 200, 100, false).bottom, 0);
}

}  // namespace
}  // namespace vistrel
