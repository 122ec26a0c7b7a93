#include <gtest/gtest.h>

#include "imaging/undo_stack.h"

namespace vistrel {
namespace {

TPictureBitmap Solid(int w, int h, TColor c) {
  TPictureBitmap b(w, h);
  b.Fill(c);
  return b;
}

TEST(UndoStack, SeventeenPushesKeepTheNewestSixteen) {
  TUndoStack undo;
  for (int i = 0; i < 17; ++i) undo.PushUndo(Solid(4, 4, MakeColor(std::uint8_t(i), 0, 0)), std::to_string(i));
  EXPECT_EQ(undo.UndoDepth(), 16);
  EXPECT_EQ(undo.Caption(0), "1");  // the first picture is gone
  EXPECT_EQ(undo.NewestCaption(), "16");
}

TEST(UndoStack, RestoreKeepsTheEntrySoUndoIsRestoreThenDrop) {
  TUndoStack undo;
  TPictureBitmap pic = Solid(3, 3, MakeColor(1, 0, 0));
  undo.PushUndo(pic, "a");
  pic.Fill(MakeColor(2, 0, 0));
  undo.PushUndo(pic, "b");
  pic.Fill(MakeColor(3, 0, 0));

  ASSERT_TRUE(undo.RestoreUndo(pic));
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(2, 0, 0));
  EXPECT_EQ(undo.UndoDepth(), 2);
  undo.DropNewestUndo();
  ASSERT_TRUE(undo.RestoreUndo(pic));
  undo.DropNewestUndo();
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(1, 0, 0));
  EXPECT_EQ(undo.UndoDepth(), 0);
  EXPECT_FALSE(undo.RestoreUndo(pic));
  EXPECT_EQ(pic.Pixel(0, 0), MakeColor(1, 0, 0));
  undo.DropNewestUndo();  // harmless when empty
}

TEST(UndoStack, TinyPicturesAreNotSaved) {
  TUndoStack undo;
  EXPECT_FALSE(undo.PushUndo(TPictureBitmap(), "empty"));
  EXPECT_FALSE(undo.PushUndo(TPictureBitmap(1, 50), "thin"));
  EXPECT_TRUE(undo.PushUndo(TPictureBitmap(2, 2, PixelFormat::Mono1), "ok"));
  EXPECT_EQ(undo.UndoDepth(), 1);
}

TEST(UndoStack, LimitAndClear) {
  TUndoStack undo(3);
  for (int i = 0; i < 5; ++i) undo.PushUndo(TPictureBitmap(2, 2), "x");
  EXPECT_EQ(undo.UndoDepth(), 3);
  undo.SetUndoLimit(2);
  EXPECT_EQ(undo.UndoDepth(), 2);
  undo.SetUndoLimit(0);
  EXPECT_EQ(undo.UndoLimit(), 1);
  undo.ClearUndoStack();
  EXPECT_EQ(undo.UndoDepth(), 0);
}

// The state tells "unchanged since the save" apart from "changed back by
// other means": undo returns to the exact state before a push, and a new edit
// after an undo is never mistaken for the saved one.
TEST(UndoStack, StateReturnsOnlyWithUndo) {
  TUndoStack undo;
  const TPictureBitmap p = Solid(4, 4, kBlack);
  const std::uint64_t grabbed = undo.State();
  undo.PushUndo(p, "a");
  const std::uint64_t saved = undo.State();
  EXPECT_NE(saved, grabbed);
  undo.DropNewestUndo();  // undo back to the grab
  EXPECT_EQ(undo.State(), grabbed);
  undo.PushUndo(p, "b");  // another edit: not the saved picture
  EXPECT_NE(undo.State(), saved);
  EXPECT_NE(undo.State(), grabbed);
  undo.PushUndo(Solid(1, 1, kBlack), "tiny");  // too small to keep, still a change
  EXPECT_EQ(undo.UndoDepth(), 1);
  const std::uint64_t after_tiny = undo.State();
  undo.DropNewestUndo();  // drops "b": the state before it
  EXPECT_EQ(undo.State(), grabbed);
  EXPECT_NE(after_tiny, grabbed);
}

}  // namespace
}  // namespace vistrel
