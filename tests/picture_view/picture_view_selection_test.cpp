// Selecting with the mouse: new rectangles and ellipses, Shift and Alt,
// clicks, grips and their cursors, moving, resizing, the order of the
// notifications.
#include <string>
#include <vector>

#include "picture_view_fixture.h"

namespace vistrel {
namespace {

using SelectionTest = PictureViewTest;

TEST_F(SelectionTest, DraggingARectangleSelectsItAndReportsOnceAtTheEnd) {
  int changing = 0, changed = 0;
  QObject::connect(view.get(), &TPictureView::OnSelectionChanging, [&] { ++changing; });
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { ++changed; });
  Drag({110, 110}, {160, 140});
  EXPECT_TRUE(view->HasSelection());
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 60, 40}));
  EXPECT_TRUE(view->SelectionMask().Inside(10, 10));
  EXPECT_TRUE(view->SelectionMask().Inside(60, 40));
  EXPECT_FALSE(view->SelectionMask().Inside(61, 40));
  EXPECT_EQ(changing, 3);  // press and two moves
  EXPECT_EQ(changed, 1);

  // Dragging backwards and beyond the picture: corners in any order, the
  // mouse point clamped to the drawn picture.
  Drag({150, 150}, {20, 5});
  EXPECT_EQ(Box(*view), (TPictureRect{0, 0, 50, 50}));
}

TEST_F(SelectionTest, ShiftAddsAndAltKeepsItSquare) {
  Drag({110, 110}, {130, 130});
  Drag({200, 150}, {220, 170}, Qt::ShiftModifier);
  EXPECT_EQ(view->Selection().Shapes().size(), 2u);
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 120, 70}));
  EXPECT_FALSE(view->Selection().IsSingleRect());

  view->ClearSelection();
  Drag({110, 110}, {170, 125}, Qt::AltModifier);  // square
  EXPECT_EQ(view->Selection().Shapes().size(), 1u);
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 70, 70}));

  // Near the bottom edge the square shrinks rather than leave the picture.
  Drag({110, 180}, {190, 199}, Qt::AltModifier);
  EXPECT_EQ(Box(*view), (TPictureRect{10, 80, 29, 99}));
}

TEST_F(SelectionTest, APlainClickRemovesTheSelectionAndReportsIt) {
  view->SelectRect(10, 10, 50, 50);
  int changed = 0;
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { ++changed; });
  QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(250, 180));
  EXPECT_FALSE(view->HasSelection());
  EXPECT_TRUE(view->SelectionMask().Empty());
  EXPECT_EQ(changed, 1);
  // Without a selection the box is the whole picture.
  EXPECT_EQ(Box(*view), (TPictureRect{0, 0, 199, 99}));
}

TEST_F(SelectionTest, HandlersSeeTheSelectionAsItStoodBeforeTheEvent) {
  std::vector<std::string> order;
  std::vector<int> right_seen_by_move;
  QObject::connect(view.get(), &TPictureView::OnMouseDown,
                   [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { order.push_back("down"); });
  QObject::connect(view.get(), &TPictureView::OnMouseMove, [&](Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {
    order.push_back("move");
    right_seen_by_move.push_back(view->HasSelection() ? view->SelectionRight() : -1);
  });
  QObject::connect(view.get(), &TPictureView::OnMouseUp,
                   [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { order.push_back("up"); });
  QObject::connect(view.get(), &TPictureView::OnSelectionChanging, [&] { order.push_back("changing"); });
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { order.push_back("change"); });

  Drag({110, 110}, {150, 130});
  EXPECT_EQ(order, (std::vector<std::string>{"down", "changing", "move", "changing", "move", "changing", "up",
                                             "change"}));
  EXPECT_EQ(right_seen_by_move, (std::vector<int>{-1, 30}));
}

TEST_F(SelectionTest, GripsShowTheirCursorsAndOnlyOnASingleRectangle) {
  view->SelectRect(50, 20, 150, 80);  // client 150,120 .. 250,180
  struct Spot { QPoint at; Qt::CursorShape shape; };
  const Spot spots[] = {{{150, 120}, Qt::SizeFDiagCursor}, {{250, 180}, Qt::SizeFDiagCursor},
                        {{250, 120}, Qt::SizeBDiagCursor}, {{150, 180}, Qt::SizeBDiagCursor},
                        {{200, 120}, Qt::SizeVerCursor},   {{200, 180}, Qt::SizeVerCursor},
                        {{150, 150}, Qt::SizeHorCursor},   {{250, 150}, Qt::SizeHorCursor},
                        {{200, 150}, Qt::SizeAllCursor},   {{50, 50}, Qt::CrossCursor},
                        {{146, 116}, Qt::SizeFDiagCursor}, {{144, 114}, Qt::CrossCursor}};
  for (const Spot& s : spots) {
    Hover(s.at);
    EXPECT_EQ(ShownCursor(), s.shape) << s.at.x() << "," << s.at.y();
  }

  view->SetSelectionGrips(kBlack, kWhite, Qt::SolidPattern, 3, false);
  Hover({200, 120});
  EXPECT_EQ(ShownCursor(), Qt::SizeAllCursor);  // no side grips: the inside

  // An ellipse can be moved but has no grips.
  view->SetMouseInteract(TPictureView::miSelectCircle);
  Drag({200, 150}, {200, 150});  // a click inside starts a move; nothing changes
  EXPECT_EQ(Box(*view), (TPictureRect{50, 20, 150, 80}));
  view->ClearSelection();
  Drag({200, 150}, {240, 153});  // radii 40 and 3: still 50 vertices
  EXPECT_FALSE(view->Selection().IsSingleRect());
  EXPECT_EQ(view->Selection().Shapes()[0].polygon.size(), 50u);
  Hover({view->PictureToScreenX(view->SelectionLeft()), view->PictureToScreenY(view->SelectionTop())});
  EXPECT_EQ(ShownCursor(), Qt::CrossCursor);
  Hover({200, 150});
  EXPECT_EQ(ShownCursor(), Qt::SizeAllCursor);
}

TEST_F(SelectionTest, EllipseFromTheCentreAndAltMakesACircle) {
  view->SetMouseInteract(TPictureView::miSelectCircle);
  Drag({200, 150}, {240, 170});  // centre 100,50, radii 40,20
  EXPECT_EQ(Box(*view), (TPictureRect{60, 30, 139, 69}));
  view->ClearSelection();  // a press inside would move it
  Drag({200, 150}, {240, 170}, Qt::AltModifier);
  EXPECT_EQ(Box(*view), (TPictureRect{60, 10, 139, 89}));
}

TEST_F(SelectionTest, MovingFollowsTheMouseAndStopsAtTheBorder) {
  view->SelectRect(50, 20, 150, 80);
  Drag({200, 150}, {210, 155});
  EXPECT_EQ(Box(*view), (TPictureRect{60, 25, 160, 85}));
  Drag({200, 150}, {1, 1});  // far beyond the top left: stops at the border
  EXPECT_EQ(Box(*view), (TPictureRect{0, 0, 100, 60}));

  // Without soCutBorders the part moved off the picture is cut away.
  view->SetSelectionOptions(TPictureView::soMoveable | TPictureView::soSizeable);
  Drag({150, 130}, {100, 130});
  EXPECT_EQ(Box(*view), (TPictureRect{0, 0, 50, 60}));
}

TEST_F(SelectionTest, ASideDraggedPastTheOppositeSideSwapsAndNeverReachesZeroWidth) {
  view->SelectRect(50, 20, 150, 80);  // left grip at client 150,150
  Press({150, 150});
  Move({240, 150});
  EXPECT_EQ(Box(*view), (TPictureRect{140, 20, 150, 80}));
  Move({250, 150});  // onto the right side: stops one pixel short
  EXPECT_EQ(view->SelectionLeft(), 149);
  EXPECT_EQ(view->SelectionRight(), 150);
  Move({270, 150});  // beyond: the sides swapped
  EXPECT_EQ(view->SelectionLeft(), 150);
  EXPECT_EQ(view->SelectionRight(), 170);
  EXPECT_EQ(ShownCursor(), Qt::SizeHorCursor);
  Release({270, 150});
  EXPECT_EQ(Box(*view), (TPictureRect{150, 20, 170, 80}));
  EXPECT_TRUE(view->SelectionMask().Inside(170, 80));

  // Sweeping the (now right) grip back and forth over the left side.
  Press({270, 150});
  for (int x = 320; x >= 0; x -= 3) {
    Move({x, 150});
    ASSERT_GE(view->SelectionRight() - view->SelectionLeft(), 1) << x;
  }
  Move({250, 150});  // back onto the fixed side from the left
  EXPECT_EQ(Box(*view), (TPictureRect{149, 20, 150, 80}));
  Release({250, 150});
}

TEST_F(SelectionTest, ResizingStaysInsideThePictureAndAltKeepsTheRatio) {
  view->SelectRect(50, 20, 150, 80);
  Drag({250, 180}, {390, 290});  // bottom-right grip far out
  EXPECT_EQ(Box(*view), (TPictureRect{50, 20, 199, 99}));

  view->SelectRect(50, 20, 150, 70);  // 100 x 50
  Drag({250, 170}, {230, 170}, Qt::AltModifier);  // 80 wide: 40 high
  EXPECT_EQ(Box(*view), (TPictureRect{50, 20, 130, 60}));
}

TEST_F(SelectionTest, NoInteractionLeavesTheSelectionAlone) {
  view->SelectRect(10, 10, 50, 50);
  view->SetMouseInteract({});
  view->SetCursor(crPen);
  int downs = 0, changes = 0;
  QObject::connect(view.get(), &TPictureView::OnMouseDown,
                   [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; });
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { ++changes; });
  Drag({180, 150}, {250, 170});
  QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 50, 50}));
  Hover({120, 120});  // over a selection: still the pen
  EXPECT_EQ(view->Cursor(), crPen);
  EXPECT_EQ(ShownCursor(), Qt::BitmapCursor);
}

TEST_F(SelectionTest, ChangingTheInteractionEndsADrawing) {
  int changes = 0;
  QObject::connect(view.get(), &TPictureView::OnSelectionChange, [&] { ++changes; });
  Press({110, 110});
  Move({150, 130});
  view->SetMouseInteract(TPictureView::miSelectCircle);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 50, 30}));
  Move({170, 170});  // the drawing has ended: nothing follows
  Release({170, 170});
  EXPECT_EQ(Box(*view), (TPictureRect{10, 10, 50, 30}));
  EXPECT_EQ(changes, 1);
}

TEST_F(SelectionTest, SelectionsOutsideThePictureAreClipped) {
  view->SelectRect(500, 500, 600, 600);
  EXPECT_FALSE(view->HasSelection());
  view->SelectRect(-20, 90, 30, 400);
  EXPECT_EQ(Box(*view), (TPictureRect{0, 90, 30, 99}));
  // A new picture size removes the selection.
  view->Picture().Allocate(50, 50);
  view->UpdateView();
  EXPECT_FALSE(view->HasSelection());
}

TEST_F(SelectionTest, TheViewFollowsASelectionChangedByProcessing) {
  view->SelectRect(10, 10, 50, 50);
  TUndoStack undo;
  TPictureProc proc(view->Picture(), undo);
  proc.SetSelection(&view->Selection());
  ASSERT_TRUE(proc.ImageResize(300, 150));  // a new size drops the selection
  view->ImageChanged();
  EXPECT_FALSE(view->HasSelection());
  EXPECT_TRUE(view->SelectionMask().Empty());
  Hover({view->PictureToScreenX(30), view->PictureToScreenY(30)});
  EXPECT_EQ(ShownCursor(), Qt::CrossCursor);
}

TEST_F(SelectionTest, TheOutlineRunsOnlyWhileNothingIsDragged) {
  view->SelectRect(10, 10, 50, 50);
  const int start = view->OutlinePhase();
  EXPECT_TRUE(WaitUntil([&] { return view->OutlinePhase() != start; }));

  Press({200, 150});
  Move({205, 150});
  const int held = view->OutlinePhase();
  QTest::qWait(3 * TPictureView::kOutlineIntervalMs);
  EXPECT_EQ(view->OutlinePhase(), held);
  Release({205, 150});
}

}  // namespace
}  // namespace vistrel
