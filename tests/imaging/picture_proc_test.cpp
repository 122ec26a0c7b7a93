#include <gtest/gtest.h>

#include <vector>

#include "imaging/operations/convolution.h"
#include "imaging/picture_proc.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using testing::Corners;
using testing::Gradient;
using testing::Solid;

struct Window {
  TPictureBitmap picture;
  TUndoStack undo;
  TSelection selection;
  TPictureProc proc{picture, undo};

  explicit Window(TPictureBitmap pic) : picture(std::move(pic)), selection(picture.Width(), picture.Height()) {
    proc.SetSelection(&selection);
  }
};

TEST(Captions, NameTheOperationAndItsNumbers) {
  Window w(Gradient(40, 30));
  w.proc.Rotate(90, true);
  w.proc.Resample(640, 480, TResampleFilter::rfNone);
  w.proc.HSLvar(0, 0, 4);
  w.proc.Contrast(2);
  w.proc.IntensityRGBall(-3, 0, 12);
  w.proc.Rotate(22.5, false);
  w.proc.Resample(320, -1, TResampleFilter::rfMitchell);
  w.proc.ImageResize(100, 90);
  w.proc.ConvertTo(16);
  w.proc.ConvertToBWThreshold(-1);
  w.proc.ConvertTo24Bit();
  w.proc.ApplyFilter(kSharpenKernel, kSharpenDivisor);
  w.proc.HSLvar(-1.5, 0.25, 0);
  const std::vector<std::string> expected = {
      "Rotate 90",          "Resample 640,480",       "HSLvar 0,0,4",     "Contrast 2",
      "IntensityRGBall -3,0,12", "Rotate 22.5",       "Resample 320,-1",  "ImageResize 100,90",
      "ConvertTo 16",       "ConvertToBWThreshold -1", "ConvertTo24Bit",  "ApplyFilter",
      "HSLvar -1.5,0.25,0"};
  ASSERT_EQ(w.undo.UndoDepth(), 13);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(w.undo.Caption(i), expected[std::size_t(i)]);
}

TEST(Captions, PlainNames) {
  Window w(Gradient(10, 10));
  w.selection.SelectRect(1, 1, 5, 5);
  w.proc.ConvertToGray();
  w.proc.Negative();
  w.proc.Flip(TFlipDirection::Vertical);
  w.proc.CastColorRange(kBlack, kBlack, kWhite);
  w.proc.SwapColors(kBlack, kWhite);
  w.proc.ClearSel();
  w.proc.CropSel();
  w.proc.ReplacePicture(Solid(5, 5, kBlack));
  const std::vector<std::string> expected = {"ConvertToGray", "Negative",  "Flip",    "CastColorRange",
                                             "SwapColors",    "ClearSel",  "CropSel", "PasteFromClipboard"};
  ASSERT_EQ(w.undo.UndoDepth(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(w.undo.Caption(i), expected[std::size_t(i)]);
}

TEST(FormatGates, WrongFormatDoesNothingAndPushesNothing) {
  TPictureBitmap mono(16, 16, PixelFormat::Mono1);
  Window w(mono);
  EXPECT_FALSE(w.proc.ApplyFilter(kSharpenKernel, kSharpenDivisor));
  EXPECT_FALSE(w.proc.HSLvar(0, 0, 4));
  EXPECT_FALSE(w.proc.Contrast(2));
  EXPECT_FALSE(w.proc.IntensityRGBall(1, 1, 1));
  EXPECT_FALSE(w.proc.CastColorRange(kBlack, kBlack, kWhite));
  EXPECT_FALSE(w.proc.SwapColors(kBlack, kWhite));
  EXPECT_FALSE(w.proc.ConvertTo(16));
  EXPECT_FALSE(w.proc.ConvertToBWThreshold(-1));
  EXPECT_EQ(w.undo.UndoDepth(), 0);
  EXPECT_EQ(w.picture, mono);

  // Accepted by "any" operations; grey changes nothing on 1 bit but counts.
  EXPECT_TRUE(w.proc.ConvertToGray());
  EXPECT_EQ(w.picture, mono);
  EXPECT_EQ(w.undo.UndoDepth(), 1);
  EXPECT_EQ(w.proc.CountColors(), 2);

  Window color(Gradient(8, 8));
  EXPECT_FALSE(color.proc.ConvertTo24Bit());
  EXPECT_EQ(color.undo.UndoDepth(), 0);
}

TEST(FormatGates, ArgumentsOutOfRangeAreRefused) {
  Window w(Gradient(8, 8));
  EXPECT_FALSE(w.proc.ImageResize(0, 10));
  EXPECT_FALSE(w.proc.ImageResize(10, -4));
  EXPECT_FALSE(w.proc.ConvertTo(2));
  EXPECT_FALSE(w.proc.ConvertTo(1025));
  EXPECT_FALSE(w.proc.ConvertToBWThreshold(-2));
  EXPECT_FALSE(w.proc.Run("NoSuchOperation", {}));
  EXPECT_FALSE(w.proc.Run("Flip", TOpArgs{{2}}));
  EXPECT_EQ(w.undo.UndoDepth(), 0);
}

TEST(EmptyPicture, EveryOperationDoesNothing) {
  Window w{TPictureBitmap()};
  for (const TOperation& op : Operations()) {
    TOpArgs args;
    for (const TArgSpec& spec : op.args) args.values.push_back(spec.fallback.value_or(spec.kind == TArgKind::Color ? 0 : spec.max));
    EXPECT_FALSE(w.proc.Run(op, args)) << op.name;
  }
  EXPECT_TRUE(w.picture.Empty());
  EXPECT_EQ(w.undo.UndoDepth(), 0);
}

TEST(Rotation, ZeroLeavesTheUndoStackAloneAndNinetySwapsTheSize) {
  Window w(Gradient(40, 30));
  EXPECT_FALSE(w.proc.Rotate(0, true));
  EXPECT_EQ(w.undo.UndoDepth(), 0);
  EXPECT_TRUE(w.proc.Rotate(90, true));
  EXPECT_EQ(w.picture.Width(), 30);
  EXPECT_EQ(w.picture.Height(), 40);
  EXPECT_EQ(w.undo.UndoDepth(), 1);
}

TEST(Rotation, DefaultBackgroundIsTheProcessors) {
  Window w(Solid(20, 20, kBlack));
  w.proc.SetBackground(MakeColor(0, 0, 255));
  w.proc.Rotate(30, false);
  EXPECT_EQ(w.picture.Pixel(0, 0), MakeColor(0, 0, 255));
  w.proc.Rotate(30, false, MakeColor(255, 0, 0));
  EXPECT_EQ(w.picture.Pixel(0, 0), MakeColor(255, 0, 0));
}

TEST(Resampling, MinusOneBothWaysPushesButKeepsThePicture) {
  const TPictureBitmap pic = Gradient(30, 20);
  Window w(pic);
  EXPECT_TRUE(w.proc.Resample(-1, -1, TResampleFilter::rfMitchell));
  EXPECT_EQ(w.picture, pic);
  EXPECT_EQ(w.undo.UndoDepth(), 1);
  w.proc.Resample(15, -1, TResampleFilter::rfMitchell);
  EXPECT_EQ(w.picture.Width(), 15);
  EXPECT_EQ(w.picture.Height(), 10);
}

TEST(Resampling, OneBitPictures) {
  Window none(TPictureBitmap(64, 48, PixelFormat::Mono1));
  none.proc.Resample(640, 480, TResampleFilter::rfNone);
  EXPECT_TRUE(none.picture.IsMono());
  Window filtered(TPictureBitmap(64, 48, PixelFormat::Mono1));
  filtered.proc.Resample(640, 480, TResampleFilter::rfBell);
  EXPECT_FALSE(filtered.picture.IsMono());
  EXPECT_EQ(filtered.picture.Width(), 640);
}

TEST(Resampling, TooLargeRaisesAndLeavesEverythingAsItWas) {
  const TPictureBitmap pic = Gradient(30, 20);
  Window w(pic);
  EXPECT_THROW(w.proc.Resample(100000, 100000, TResampleFilter::rfNone), PictureSizeError);
  EXPECT_THROW(w.proc.ImageResize(100000, 100000), PictureSizeError);
  EXPECT_EQ(w.picture, pic);
  EXPECT_EQ(w.undo.UndoDepth(), 0);
}

TEST(Threshold, UniformPictureBecomesAllWhite) {
  Window w(Solid(9, 5, MakeColor(37, 140, 201)));
  EXPECT_TRUE(w.proc.ConvertToBWThreshold(-1));
  ASSERT_TRUE(w.picture.IsMono());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(w.picture.Pixel(x, y), kWhite);
  EXPECT_TRUE(w.proc.ConvertTo24Bit());
  EXPECT_FALSE(w.picture.IsMono());
  EXPECT_EQ(w.picture.Pixel(8, 4), kWhite);
}

TEST(Threshold, GivenThresholdSplitsAtTheGreyValue) {
  TPictureBitmap pic(2, 2);
  pic.SetPixel(0, 0, MakeColor(100, 100, 100));
  pic.SetPixel(1, 0, MakeColor(99, 99, 99));
  Window w(pic);
  w.proc.ConvertToBWThreshold(100);
  EXPECT_EQ(w.picture.Pixel(0, 0), kWhite);
  EXPECT_EQ(w.picture.Pixel(1, 0), kBlack);
}

TEST(ContrastOp, PictureAtItsMeanStaysAndMeansComeFromTheWholePicture) {
  const TPictureBitmap flat = Solid(10, 10, MakeColor(120, 60, 200));
  Window w(flat);
  EXPECT_TRUE(w.proc.Contrast(2));
  EXPECT_EQ(w.picture, flat);

  // Left half black, right half white: the mean is mid grey for the whole
  // picture, so a selection in the white half brightens nothing but stays
  // white, and one grey pixel there moves away from 127.
  TPictureBitmap halves = Solid(10, 10, kBlack);
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x) halves.SetPixel(x, y, MakeColor(200, 200, 200));
  Window s(halves);
  s.selection.SelectRect(6, 0, 9, 9);
  s.proc.Contrast(10);  // factor 2: 100 + 2 * (200 - 100) = 300 -> 255
  EXPECT_EQ(s.picture.Pixel(7, 3), kWhite);
  EXPECT_EQ(s.picture.Pixel(5, 3), MakeColor(200, 200, 200));  // outside
}

TEST(SelectionLimits, EllipseChangesOnlyPixelsInside) {
  const TPictureBitmap pic = Gradient(60, 40);
  Window w(pic);
  w.selection.SelectEllipse(30, 20, 15, 10);
  const TPictureMask mask = w.selection.BuildMask();
  for (auto run : {+[](TPictureProc& p) { p.Negative(); }, +[](TPictureProc& p) { p.ConvertToGray(); },
                   +[](TPictureProc& p) { p.ApplyFilter(kEmbossKernel, kEmbossDivisor); },
                   +[](TPictureProc& p) { p.HSLvar(90, 10, 10); }, +[](TPictureProc& p) { p.ClearSel(); }}) {
    w.picture = pic;
    run(w.proc);
    int changed_inside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) {
        if (mask.Inside(x, y))
          changed_inside += w.picture.Pixel(x, y) != pic.Pixel(x, y);
        else
          ASSERT_EQ(w.picture.Pixel(x, y), pic.Pixel(x, y)) << x << "," << y;
      }
    EXPECT_GT(changed_inside, 100);
  }
}

TEST(SelectionLimits, WholePictureOperationsIgnoreTheSelection) {
  Window w(Corners());
  w.selection.SelectRect(0, 0, 0, 0);
  w.proc.Flip(TFlipDirection::Horizontal);
  EXPECT_EQ(w.picture.Pixel(2, 0), MakeColor(255, 0, 0));
}

TEST(SelectionLimits, OneBitPicturesThroughAMask) {
  Window w(TPictureBitmap(20, 10, PixelFormat::Mono1));
  w.selection.SelectRect(3, 2, 12, 4);
  w.proc.Negative();
  EXPECT_EQ(w.picture.Pixel(3, 2), kWhite);
  EXPECT_EQ(w.picture.Pixel(12, 4), kWhite);
  EXPECT_EQ(w.picture.Pixel(13, 4), kBlack);
  EXPECT_EQ(w.picture.Pixel(2, 2), kBlack);
}

TEST(CropAndClear, EllipseCropGivesTheBoxWithBackgroundCorners) {
  Window w(Solid(100, 80, kBlack));
  w.selection.SelectEllipse(50, 40, 20, 10);
  const TPictureRect box = w.selection.BoundingBox();
  EXPECT_TRUE(w.proc.CropSel());
  EXPECT_EQ(w.picture.Width(), box.Width());
  EXPECT_EQ(w.picture.Height(), box.Height());
  EXPECT_EQ(w.picture.Pixel(0, 0), kWhite);
  EXPECT_EQ(w.picture.Pixel(box.Width() - 1, box.Height() - 1), kWhite);
  EXPECT_EQ(w.picture.Pixel(box.Width() / 2, box.Height() / 2), kBlack);
  EXPECT_FALSE(w.selection.HasSelection());  // the size changed
}

TEST(CropAndClear, WithoutSelectionNothingChangesButUndoIsPushed) {
  const TPictureBitmap pic = Gradient(10, 10);
  Window w(pic);
  EXPECT_TRUE(w.proc.CropSel());
  EXPECT_TRUE(w.proc.ClearSel());
  EXPECT_EQ(w.picture, pic);
  EXPECT_EQ(w.undo.UndoDepth(), 2);
}

TEST(CropAndClear, SelectionOutsideThePictureCountsAsNone) {
  const TPictureBitmap pic = Gradient(10, 10);
  Window w(pic);
  w.selection.SelectRect(50, 50, 60, 60);
  EXPECT_TRUE(w.proc.ClearSel());
  EXPECT_EQ(w.picture, pic);
  // A selection made for another picture size is not applied.
  TSelection stale(200, 200);
  stale.SelectRect(0, 0, 3, 3);
  w.proc.SetSelection(&stale);
  w.proc.ClearSel();
  EXPECT_EQ(w.picture, pic);
}

TEST(Counting, CountsTheSelectionBoxAndPushesNoUndo) {
  TPictureBitmap pic = Solid(10, 10, kBlack);
  pic.SetPixel(9, 9, kWhite);
  pic.SetPixel(0, 0, MakeColor(1, 2, 3));
  Window w(pic);
  EXPECT_EQ(w.proc.CountColors(), 3);
  w.selection.SelectEllipse(5, 5, 3, 3);
  EXPECT_EQ(w.proc.CountColors(), 1);
  w.selection.SelectRect(5, 5, 9, 9);
  EXPECT_EQ(w.proc.CountColors(), 2);
  EXPECT_EQ(w.undo.UndoDepth(), 0);
}

TEST(ColourReduction, SixteenColoursAtMost) {
  Window w(Gradient(120, 90));
  EXPECT_GT(w.proc.CountColors(), 16);
  EXPECT_TRUE(w.proc.ConvertTo(16));
  EXPECT_FALSE(w.picture.IsMono());
  EXPECT_LE(w.proc.CountColors(), 16);
}

TEST(Clipboard, SelectionBitmapAndPaste) {
  Window w(Solid(40, 30, kBlack));
  EXPECT_EQ(w.proc.CopySelectionBitmap(), w.picture);
  w.selection.SelectEllipse(20, 15, 10, 5);
  const TPictureBitmap copy = w.proc.CopySelectionBitmap();
  EXPECT_EQ(copy.Width(), w.selection.BoundingBox().Width());
  EXPECT_EQ(copy.Pixel(0, 0), kWhite);
  EXPECT_EQ(copy.Pixel(copy.Width() / 2, copy.Height() / 2), kBlack);

  EXPECT_FALSE(w.proc.ReplacePicture(TPictureBitmap()));
  EXPECT_EQ(w.undo.UndoDepth(), 0);
  EXPECT_TRUE(w.proc.ReplacePicture(copy));
  EXPECT_EQ(w.picture, copy);
  EXPECT_EQ(w.undo.UndoDepth(), 1);
}

TEST(UndoThroughOperations, SeventeenOperationsLeaveSixteenAndUndoStepsBack) {
  Window w(Solid(4, 4, kBlack));
  for (int i = 0; i < 17; ++i) w.proc.IntensityRGBall(1, 0, 0);
  EXPECT_EQ(w.undo.UndoDepth(), 16);
  EXPECT_EQ(w.picture.Pixel(0, 0), MakeColor(17, 0, 0));
  for (int i = 0; i < 2; ++i) {
    w.undo.RestoreUndo(w.picture);
    w.undo.DropNewestUndo();
  }
  EXPECT_EQ(w.picture.Pixel(0, 0), MakeColor(15, 0, 0));
}

TEST(Progress, ReportsRiseToOneHundred) {
  Window w(Gradient(300, 200));
  std::vector<int> reports;
  w.proc.SetProgressHandler([&](int p) { reports.push_back(p); });
  w.proc.Rotate(30, true);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), 100);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
}

}  // namespace
}  // namespace vistrel
