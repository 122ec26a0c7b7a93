// What committing draws into the picture: each tool at known coordinates
// on a plain picture, compared with the pixels it must give.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "imaging/operations/redaction.h"
#include "picture/annotation/annotation_painter.h"

namespace vistrel {
namespace {

using T = TAnnotationTool;
constexpr TColor kRed = MakeColor(255, 0, 0);

TPictureBitmap Plain(TColor colour, int w = 120, int h = 90) {
  TPictureBitmap picture(w, h);
  picture.Fill(colour);
  return picture;
}

TPictureBitmap Drawn(TPictureBitmap picture, std::vector<TAnnotation> layer) {
  DrawAnnotationsInto(picture, layer);
  return picture;
}

TAnnotation Mark(T tool, std::vector<TPointF> points, int width = 3) {
  TAnnotation a;
  a.tool = tool;
  a.points = std::move(points);
  a.width = width;
  return a;
}

TEST(AnnotationDrawing, ShapesAndLinesInFullColourWhereTheirLinesRun) {
  const TPictureBitmap box = Drawn(Plain(kWhite), {Mark(T::Rectangle, {{10, 10}, {60, 40}})});
  for (auto [x, y] : {std::pair{10, 10}, {9, 9}, {11, 11}, {60, 40}, {35, 10}, {10, 25}, {61, 41}})
    EXPECT_EQ(box.Pixel(x, y), kRed) << x << "," << y;
  for (auto [x, y] : {std::pair{8, 10}, {35, 25}, {12, 12}, {62, 40}})
    EXPECT_EQ(box.Pixel(x, y), kWhite) << x << "," << y;

  TAnnotation filled = Mark(T::Ellipse, {{20, 20}, {80, 60}});
  filled.filled = true;
  const TPictureBitmap ellipse = Drawn(Plain(kWhite), {filled});
  EXPECT_EQ(ellipse.Pixel(50, 40), kRed);
  EXPECT_EQ(ellipse.Pixel(22, 22), kWhite);  // outside the curve, inside its box

  // The arrow's head is wide at its end only.
  const TPictureBitmap arrow = Drawn(Plain(kWhite), {Mark(T::Arrow, {{10, 50}, {100, 50}})});
  EXPECT_EQ(arrow.Pixel(96, 50), kRed);
  EXPECT_EQ(arrow.Pixel(86, 56), kRed);  // beside the line, in the head
  EXPECT_EQ(arrow.Pixel(15, 55), kWhite);
  EXPECT_EQ(arrow.Pixel(50, 50), kRed);
}

TEST(AnnotationDrawing, HighlighterDarkensAndMarkerCarriesItsNumber) {
  TAnnotation stroke = Mark(T::Highlighter, {{10, 45}, {110, 45}});
  stroke.color = MakeColor(255, 255, 0);
  const TPictureBitmap grey = Drawn(Plain(MakeColor(128, 128, 128)), {stroke});
  EXPECT_EQ(grey.Pixel(60, 45), MakeColor(128, 128, 0));
  EXPECT_EQ(grey.Pixel(60, 5), MakeColor(128, 128, 128));

  TAnnotation marker = Mark(T::Marker, {{60, 45}});
  marker.number = 7;
  const TPictureBitmap numbered = Drawn(Plain(kWhite), {marker});
  int red = 0, white_inside = 0;
  for (int y = 35; y < 56; ++y)
    for (int x = 50; x < 71; ++x) {
      red += numbered.Pixel(x, y) == kRed;
      white_inside += numbered.Pixel(x, y) == kWhite;
    }
  EXPECT_GT(red, 100);         // the disc
  EXPECT_GT(white_inside, 5);  // the digit
  EXPECT_EQ(numbered.Pixel(60, 10), kWhite);
}

TEST(AnnotationDrawing, RedactionLeavesOnlyTheEngineResultUnderItsRectangle) {
  TPictureBitmap detail(120, 90);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x)
      detail.SetPixel(x, y, MakeColor(std::uint8_t(x * 2), std::uint8_t((x * y) & 255), std::uint8_t(y * 2)));
  for (T tool : {T::Pixelate, T::Blur}) {
    const TPictureBitmap done = Drawn(detail, {Mark(tool, {{30, 20}, {69, 59}})});
    TPictureBitmap expected(40, 40);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) expected.SetPixel(x, y, detail.Pixel(30 + x, 20 + y));
    TProgress progress;
    if (tool == T::Pixelate)
      PixelatePicture(expected, 8, progress);
    else
      GaussianBlur(expected, 3, progress);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        ASSERT_EQ(done.Pixel(30 + x, 20 + y), expected.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(done.Pixel(29, 20), detail.Pixel(29, 20));
    EXPECT_EQ(done.Pixel(70, 59), detail.Pixel(70, 59));
  }
}

// The layer as the overlay shows it over `picture`, with or without the
// areas kept from the paints before.
QImage Shown(const TPictureBitmap& picture, const std::vector<TAnnotation>& layer,
             TRedactionPreviews* previews) {
  QImage image = QImage(picture.Row(0), picture.Width(), picture.Height(), int(picture.Stride()),
                        QImage::Format_BGR888)
                     .copy();
  QPainter painter(&image);
  for (const TAnnotation& mark : layer) PaintAnnotation(painter, mark, picture, previews);
  if (previews) previews->DropUnused();
  return image;
}

TEST(AnnotationDrawing, KeptRedactionAreasFollowEveryChangeOfMarkAndPicture) {
  TPictureBitmap picture(120, 90);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x)
      picture.SetPixel(x, y, MakeColor(std::uint8_t(x * 2), std::uint8_t((x * y) & 255), std::uint8_t(y * 2)));
  std::vector<TAnnotation> layer = {Mark(T::Blur, {{30, 20}, {69, 59}}),
                                    Mark(T::Pixelate, {{0, 0}, {20, 20}}, 8)};
  TRedactionPreviews previews;
  const auto same_as_fresh = [&](const char* after) {
    SCOPED_TRACE(after);
    EXPECT_TRUE(Shown(picture, layer, &previews) == Shown(picture, layer, nullptr));
  };
  same_as_fresh("the first paint");
  const QImage before = Shown(picture, layer, &previews);
  same_as_fresh("a paint with nothing changed");

  picture.SetPixel(50, 40, kWhite);
  EXPECT_FALSE(Shown(picture, layer, nullptr) == before);
  same_as_fresh("a pixel under the blur changed");
  MoveAnnotation(layer[0], 1, 0);
  same_as_fresh("the blur moved");
  layer[0].width = 6;
  same_as_fresh("the blur widened");
  layer[0].tool = T::Pixelate;
  same_as_fresh("the blur became a pixelation");
  layer.pop_back();
  same_as_fresh("a mark removed");
}

}  // namespace
}  // namespace vistrel
